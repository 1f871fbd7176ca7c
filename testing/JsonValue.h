#pragma once
// A small JSON parser for tests: reads what the programs write back into values, so that tests
// compare data, not text. Strict: anything that is not JSON fails the parse.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace trevo::testing {

struct JsonValue {
    enum class Kind { Null, Bool, Number, String, Array, Object };
    Kind kind = Kind::Null;
    bool boolean = false;
    std::string text;  // the number's text as written, or the string's UTF-8 value
    // An array's items; an object's member values, in written order, named by `keys`.
    std::vector<JsonValue> items;
    std::vector<std::string> keys;

    // The member `key` of an object; a null value when missing.
    const JsonValue& operator[](std::string_view key) const;
    const JsonValue& operator[](std::size_t index) const { return items.at(index); }
    double Number() const;
    long long Integer() const;
};

// Nothing when `text` is not exactly one JSON value (whitespace around it allowed).
std::optional<JsonValue> ParseJson(std::string_view text);

// One record per line, fields split at commas, with RFC 4180 quoting; the line ends (LF or
// CR LF) inside quotes belong to the field. Nothing when a quote is left open.
std::optional<std::vector<std::vector<std::string>>> ParseCsv(std::string_view text);

}  // namespace trevo::testing

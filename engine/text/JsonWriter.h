#pragma once
// A small JSON writer: objects, arrays, strings (UTF-8 in, escaped as JSON requires), numbers
// given as their text, booleans and null. Commas are placed by the writer.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace trevo {

class JsonWriter {
  public:
    explicit JsonWriter(std::string& out) : out_(out) {}

    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    JsonWriter& Key(std::string_view name);
    JsonWriter& String(std::string_view utf8);
    // `text` must be a JSON number.
    JsonWriter& Number(std::string_view text);
    JsonWriter& Integer(std::int64_t value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();

  private:
    void BeforeValue();

    std::string& out_;
    // One entry per open container: whether a value has been written in it.
    std::vector<bool> hasValue_;
    bool afterKey_ = false;
};

// `text` as a JSON string literal, quotes included.
void AppendJsonString(std::string& out, std::string_view utf8);

}  // namespace trevo

#include "engine/text/JsonWriter.h"

namespace trevo {

void AppendJsonString(std::string& out, std::string_view utf8) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    out += "\\u00";
                    out += kHex[byte >> 4];
                    out += kHex[byte & 0xF];
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!hasValue_.empty()) {
        if (hasValue_.back()) {
            out_ += ',';
        }
        hasValue_.back() = true;
    }
}

JsonWriter& JsonWriter::BeginObject() {
    BeforeValue();
    out_ += '{';
    hasValue_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    hasValue_.pop_back();
    out_ += '}';
    return *this;
}

JsonWriter& JsonWriter::BeginArray() {
    BeforeValue();
    out_ += '[';
    hasValue_.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    hasValue_.pop_back();
    out_ += ']';
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view name) {
    BeforeValue();
    AppendJsonString(out_, name);
    out_ += ':';
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view utf8) {
    BeforeValue();
    AppendJsonString(out_, utf8);
    return *this;
}

JsonWriter& JsonWriter::Number(std::string_view text) {
    BeforeValue();
    out_ += text;
    return *this;
}

JsonWriter& JsonWriter::Integer(std::int64_t value) {
    return Number(std::to_string(value));
}

JsonWriter& JsonWriter::Bool(bool value) {
    return Number(value ? "true" : "false");
}

JsonWriter& JsonWriter::Null() {
    return Number("null");
}

}  // namespace trevo

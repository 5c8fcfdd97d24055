#include "cli/Json.h"

#include "setup/TextEncoding.h"

#include <charconv>
#include <cmath>

namespace {

void AppendEscaped(std::string& out, unsigned char c) {
    switch (c) {
    case '"':
        out += "\\\"";
        return;
    case '\\':
        out += "\\\\";
        return;
    case '\b':
        out += "\\b";
        return;
    case '\f':
        out += "\\f";
        return;
    case '\n':
        out += "\\n";
        return;
    case '\r':
        out += "\\r";
        return;
    case '\t':
        out += "\\t";
        return;
    default:
        break;
    }
    if (c < 0x20 || c == 0x7F) {
        static constexpr char kHex[] = "0123456789abcdef";
        out += "\\u00";
        out += kHex[c >> 4];
        out += kHex[c & 0xF];
        return;
    }
    out += static_cast<char>(c);
}

} // namespace

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

JsonWriter& JsonWriter::Key(std::string_view key) {
    BeforeValue();
    Quoted(key);
    out_ += ':';
    afterKey_ = true;
    return *this;
}

void JsonWriter::Quoted(std::string_view utf8) {
    out_ += '"';
    for (const char byte : utf8) {
        AppendEscaped(out_, static_cast<unsigned char>(byte));
    }
    out_ += '"';
}

JsonWriter& JsonWriter::Text(std::string_view bytes) {
    BeforeValue();
    Quoted(TextToUtf8(bytes, textEncoding_));
    return *this;
}

JsonWriter& JsonWriter::Path(std::string_view bytes) {
    BeforeValue();
    Quoted(TextToUtf8(bytes, TextEncoding::Utf8));
    return *this;
}

JsonWriter& JsonWriter::Number(double value) {
    if (!std::isfinite(value)) {
        return Null();
    }
    BeforeValue();
    char buffer[64];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out_.append(buffer, result.ptr);
    return *this;
}

JsonWriter& JsonWriter::Integer(std::int64_t value) {
    BeforeValue();
    out_ += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
    BeforeValue();
    out_ += value ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::Null() {
    BeforeValue();
    out_ += "null";
    return *this;
}

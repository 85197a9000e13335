#include "cli/json_writer.h"

#include <charconv>
#include <cmath>

namespace trelvanox {

void TJsonWriter::BeforeValue() {
    if (needComma_) text_ += ',';
    needComma_ = true;
}

TJsonWriter& TJsonWriter::BeginObject() {
    BeforeValue();
    text_ += '{';
    needComma_ = false;
    return *this;
}

TJsonWriter& TJsonWriter::EndObject() {
    text_ += '}';
    needComma_ = true;
    return *this;
}

TJsonWriter& TJsonWriter::BeginArray() {
    BeforeValue();
    text_ += '[';
    needComma_ = false;
    return *this;
}

TJsonWriter& TJsonWriter::EndArray() {
    text_ += ']';
    needComma_ = true;
    return *this;
}

TJsonWriter& TJsonWriter::Key(std::string_view name) {
    String(name);
    text_ += ':';
    needComma_ = false;
    return *this;
}

TJsonWriter& TJsonWriter::String(std::string_view value) {
    BeforeValue();
    text_ += '"';
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            text_ += '\\';
            text_ += c;
        } else if (c == '\n') {
            text_ += "\\n";
        } else if (c == '\r') {
            text_ += "\\r";
        } else if (c == '\t') {
            text_ += "\\t";
        } else if (byte < 0x20) {
            static const char kHex[] = "0123456789abcdef";
            text_ += "\\u00";
            text_ += kHex[byte >> 4];
            text_ += kHex[byte & 15];
        } else {
            text_ += c;
        }
    }
    text_ += '"';
    return *this;
}

TJsonWriter& TJsonWriter::Unsigned(std::uint64_t value) {
    BeforeValue();
    text_ += std::to_string(value);
    return *this;
}

TJsonWriter& TJsonWriter::Signed(std::int64_t value) {
    BeforeValue();
    text_ += std::to_string(value);
    return *this;
}

TJsonWriter& TJsonWriter::Float(float value) {
    BeforeValue();
    if (!std::isfinite(value)) {
        text_ += "null";
        return *this;
    }
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text_.append(buffer, result.ptr);
    return *this;
}

}  // namespace trelvanox

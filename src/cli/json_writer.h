#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace trelvanox {

// A minimal builder of compact JSON text. The caller opens and closes objects and arrays in
// order; commas are placed automatically. Strings are UTF-8.
class TJsonWriter {
  public:
    TJsonWriter& BeginObject();
    TJsonWriter& EndObject();
    TJsonWriter& BeginArray();
    TJsonWriter& EndArray();
    TJsonWriter& Key(std::string_view name);
    TJsonWriter& String(std::string_view value);
    TJsonWriter& Unsigned(std::uint64_t value);
    TJsonWriter& Signed(std::int64_t value);
    // The shortest text that reads back as the same float; null for NaN and infinities, which
    // JSON cannot hold.
    TJsonWriter& Float(float value);

    const std::string& Text() const { return text_; }

  private:
    void BeforeValue();

    std::string text_;
    bool needComma_ = false;
};

}  // namespace trelvanox

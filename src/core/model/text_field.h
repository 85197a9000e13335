#pragma once

#include <span>
#include <string>
#include <string_view>

#include "model/radar_records.h"

namespace trelvanox {

using TTextField = std::span<char, kTextFieldSize>;
using TConstTextField = std::span<const char, kTextFieldSize>;

// The field's bytes up to its first NUL, all 40 when it holds none, decoded to UTF-8.
std::string ReadTextField(TConstTextField field);

// Stores the text in Windows-1251, cut to 39 characters, followed by one NUL; the bytes behind
// that NUL stay as they were. The empty text sets only the first byte to 0.
void WriteTextField(TTextField field, std::string_view utf8);

}  // namespace trelvanox

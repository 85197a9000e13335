#pragma once

#include <cstdint>
#include <string_view>

#include "common/program_error.h"

namespace trelvanox {

// Raised when user text is not a number; the message names the text:
// "'<text>' is not a valid integer value" or "'<text>' is not a valid floating point value".
class TConversionError : public TProgramError {
  public:
    using TProgramError::TProgramError;
};

// An optionally signed decimal whole number in the signed 32-bit range; anything else (the
// empty text, spaces, hexadecimal, a fraction) raises TConversionError.
std::int32_t StrToInt(std::string_view text);

// An optionally signed decimal number with "." as the decimal separator and an optional
// exponent (1, -2.5, .5, 5., 1.5E-7), whatever the process locale. The result keeps extended
// precision (64-bit significand); callers narrow it where their arithmetic says so.
long double StrToFloat(std::string_view text);

}  // namespace trelvanox

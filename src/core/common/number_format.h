#pragma once

#include <cstdint>
#include <string>

namespace trelvanox {

// The number formats of the tables: no padding, no thousands separators, "-" before negatives.
std::string FormatUnsigned(std::uint32_t value);  // "%u"
std::string FormatSigned(std::int32_t value);     // "%i"
std::string FormatSigned64(std::int64_t value);   // 64-bit "%i"

// General floating-point form with at most 15 significant digits and "." as the decimal
// separator: trailing zeros dropped, no point for whole values, exponent form for more than 15
// digits before the point or a non-zero magnitude below 0.00001 (4, 6.5, 9.30000019073486,
// 1.5E-7, 2E20). Zero of either sign shows "0"; NaN and infinities show "NAN", "INF", "-INF".
std::string FormatFloat(double value);

}  // namespace trelvanox

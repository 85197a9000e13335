#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "common/program_error.h"

namespace trelvanox {

// A chainage or a picket length the program cannot read; the message names the text.
class TPicketTextError : public TProgramError {
  public:
    using TProgramError::TProgramError;
};

// The metres of one picket from the options' text (BasePKm, "100" by default); it must be a
// positive number.
long double PicketLength(std::string_view baseText);

// The chainage in millimetres, rounded to the nearest, of a text an operator types:
// "ПК12+35" or "12+35" (pickets of picketLength metres plus metres, the metres may carry a
// fraction and either part a sign, as "ПК-1+-5"), "ПК12" (whole pickets) or plain metres
// ("1235.5"). Anything else, or a value beyond 64 bits, throws TPicketTextError.
std::int64_t ParseChainage(std::string_view text, long double picketLength);

// The chainage of the first picket a label's text names ("ПК12", "ПК12+50 мост", "Переезд
// ПК12+55"); nothing for a text that names none.
std::optional<std::int64_t> PicketOfLabelText(std::string_view text, long double picketLength);

}  // namespace trelvanox

#pragma once

#include <string>

namespace trelvanox {

// The day the program was built, as the compiler's __DATE__ gives it: month abbreviation, day
// and year, "Apr 19 2019"; a day below 10 is padded with a blank, "Apr  9 2019". Plain ASCII.
std::string CompileDateText();

}  // namespace trelvanox

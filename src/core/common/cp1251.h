#pragma once

#include <string>
#include <string_view>

namespace trelvanox {

// Windows-1251, the 8-bit code page of every text in the radargram file, the INI file and the
// exchanged tables. Inside the program texts are UTF-8.

// Every byte value decodes to one character; the one byte the code page leaves undefined
// (0x98) decodes to U+0098 so that any field survives a decode/encode round trip unchanged.
std::string DecodeCp1251(std::string_view bytes);

// Characters the code page cannot represent, and malformed UTF-8 sequences, become "?".
std::string EncodeCp1251(std::string_view utf8);

}  // namespace trelvanox

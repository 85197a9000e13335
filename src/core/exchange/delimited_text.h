#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace trelvanox {

// The field delimiter of the setting DelimiterIndex: 1 ";", 2 ",", 3 space, anything else TAB.
char DelimiterFor(std::int32_t delimiterIndex);

// Appends the fields of one line of 8-bit text to `fields`. Every field is trimmed of the
// characters with codes 0 to 32 at both ends; two neighbouring delimiters give an empty field,
// a delimiter at the end of the line gives none after it, and an empty line gives no field.
// Quotes are ordinary characters.
void SplitDelimitedLine(std::string_view line, char delimiter, std::vector<std::string>& fields);

// The lines of a whole text file as UTF-8. The bytes are Windows-1251 unless a byte-order mark
// at the start says UTF-8 or UTF-16 (LE or BE), or, without a mark, they hold characters beyond
// ASCII and are valid UTF-8 throughout; CR LF, a lone CR and a lone LF each end a line,
// and a break at the very end starts no further line. Bytes that do not decode in the chosen
// encoding become U+FFFD.
std::vector<std::string> DecodeTextLines(std::string_view fileBytes);
// The whole text as UTF-8, in the encoding DecodeTextLines chooses, its line ends kept.
std::string DecodeTextFile(std::string_view fileBytes);

}  // namespace trelvanox

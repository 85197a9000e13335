#pragma once

#include <string>
#include <string_view>

namespace trelvanox {

// The textual header of a SEG-Y file is EBCDIC (code page 037). Printable ASCII is encoded
// character by character; any other byte becomes "?", so the header stays readable.
std::string EncodeEbcdic(std::string_view ascii);

}  // namespace trelvanox

#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace trelvanox::test {

// What segyio itself finds in a SEG-Y file: the tests' independent reader of the exports.
struct TSegyContents {
    std::string Text;  // the textual header decoded to ASCII
    std::int32_t Samples = 0, Format = 0, Interval = 0, Sorting = 0, Measurement = 0;
    std::int32_t Revision = 0;
    std::vector<std::vector<char>> TraceHeaders;
    std::vector<std::vector<float>> Traces;  // in the machine's order

    // Trace header field (a segyio field number) of trace t.
    std::int32_t Field(std::size_t t, int field) const;
    // Card number (1 to 40) of the textual header.
    std::string Line(int number) const;
};

// Throws std::runtime_error when segyio refuses the file or any part of it.
TSegyContents ReadSegy(const std::filesystem::path& path);

}  // namespace trelvanox::test

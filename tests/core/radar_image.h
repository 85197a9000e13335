#pragma once

#include <cstdint>
#include <vector>

#include "model/radar_layout.h"

namespace trelvanox::test {

using TBytes = std::vector<std::uint8_t>;

// Appends the bytes of one packed record, as a file holds it.
template <typename T>
void AppendRecord(TBytes& bytes, const T& record) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(&record);
    bytes.insert(bytes.end(), p, p + sizeof(T));
}

// The blocks of a radargram file cut out at the places the documented layout gives them: the
// expected side of the reader and writer tests, computed without the code under test.
struct TRadarImage {
    TBytes Header;               // 400
    TBytes Block;                // 1024
    TBytes Table;                // 4 x SampleCount
    std::vector<TBytes> Traces;  // trace header and samples
    std::vector<TBytes> Labels;  // LabelCount records
};

TRadarImage CutImage(const TBytes& file, TRadarLayout layout);

// The file after the blocks of image, with its first labelCount records, were written into it
// in the given layout; packed traces have no gaps, but the labels still follow a 4-byte tail.
// Everything not written keeps the bytes of file; a file too short grows with zeros.
TBytes PasteImage(TBytes file, const TRadarImage& image, std::size_t labelCount,
                  TRadarLayout layout, bool packed = false);

std::uint32_t U32At(const TBytes& bytes, std::size_t offset);
void PutU32(TBytes& bytes, std::size_t offset, std::uint32_t value);

}  // namespace trelvanox::test

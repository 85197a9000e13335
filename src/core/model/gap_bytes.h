#pragma once

#include "model/radar_file.h"
#include "model/radar_layout.h"
#include "model/radargram.h"

namespace trelvanox::detail {

// Reads the part of [offset, offset + out.size()) that lies inside a file of fileSize bytes;
// the rest of out becomes zero.
bool ReadAvailable(TRadarFile& file, std::uint64_t fileSize, std::uint64_t offset,
                   std::span<std::uint8_t> out);

// Takes the GPR2 gap bytes of traceCount traces of the given geometry from the file as it is
// now; gaps that lie beyond its end read as zero, as they would once the file grows over them.
bool LoadGapBytes(TRadarFile& file, const TLayoutGeometry& g, std::uint32_t traceCount,
                  std::uint32_t sampleCount, TGapBytes& gaps);

}  // namespace trelvanox::detail

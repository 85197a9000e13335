#pragma once

#include <cstdint>
#include <string>

#include "model/radar_layout.h"
#include "model/radargram.h"

namespace trelvanox {

// The JSON object of `info` for a model after a complete read: the file, its size and layout,
// every interpreted header field, the label counts, and the header table, profile length and
// read-label table exactly as the main window shows them.
std::string BuildInfoReport(const std::string& file, std::uint64_t size, TRadarLayout layout,
                            const TRadargram& model);

}  // namespace trelvanox

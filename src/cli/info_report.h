#pragma once

#include <string>

#include "document/radargram_document.h"

namespace trelvanox {

// The JSON object of `info` for a document after a complete read: the file, its size and layout,
// every interpreted header field, the label counts, and the header table, profile length and
// read-label table exactly as the main window shows them.
std::string BuildInfoReport(const TRadargramDocument& document);

}  // namespace trelvanox

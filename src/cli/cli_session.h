#pragma once

#include <ostream>
#include <string>

#include "document/radargram_document.h"

namespace trelvanox {

// The batch tool's side of the document: every command opens FILE as a document, works on it
// and writes it back through it, and reports a failure as the message's text on stderr.

// Opens FILE in the layout; on failure prints the reader's message and returns false.
bool OpenDocument(TRadargramDocument& document, const std::string& path, TRadarLayout layout,
                  std::ostream& err);

// 0 for success, else prints the operation's message and returns 1.
int Report(const TDocumentResult& result, std::ostream& err);

}  // namespace trelvanox

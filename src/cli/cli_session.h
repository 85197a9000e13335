#pragma once

#include <ostream>
#include <string>

#include "cli/cli_args.h"
#include "document/radargram_document.h"

namespace trelvanox {

// The batch tool's side of the document: every command opens FILE as a document, works on it
// and writes it back through it, and reports a failure as the message's text on stderr.

// Opens FILE (the first positional argument) in the layout, after printing on err what the
// recovery of an interrupted change reports; keeps history steps unless --no-history is given.
// On failure prints the reader's message and returns false.
// A command that changes the file (changes = true) keeps it to itself from the read to the end,
// so no other process changes it in between; one that only reads shares it with other reads.
// Either waits for another process's change for --wait SECONDS (default 10).
bool OpenDocument(TRadargramDocument& document, const TParsedArgs& args, TRadarLayout layout,
                  std::ostream& err, bool changes = false);

// 0 for success, else prints the operation's message and returns 1.
int Report(const TDocumentResult& result, std::ostream& err);

}  // namespace trelvanox

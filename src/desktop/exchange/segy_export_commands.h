#pragma once

#include <cstdint>

#include "desktop/document/document_context.h"

namespace trelvanox {

// A radargram with at least this many traces shows the export's progress; a smaller one is
// written before a bar could be read.
constexpr std::uint32_t kSegyProgressTraces = 20000;

// "Экспорт в SEG-Y": the open radargram into a SEG-Y file chosen in a save dialog (proposed: the
// radargram's path with .sgy), its labels into the labels file beside it (ExportSegy). A large
// radargram shows its progress in the bar dlgExportSegyProgress, a child of the owner kept for
// the next export; a message says where the files went. A failure is raised to the general
// error display and leaves no partial file.
void acnExportSegyExecute(TDocumentContext& context);

}  // namespace trelvanox

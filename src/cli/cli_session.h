#pragma once

#include <ostream>
#include <string>

#include "model/radargram.h"
#include "model/radargram_io.h"

namespace trelvanox {

// Reads FILE into the model; on failure prints the reader's message and returns false.
bool LoadRadargram(TRadargram& model, const std::string& path, TRadarLayout layout,
                   std::ostream& err, TReadResult* result = nullptr);

// 0 when the write succeeded, else prints the writer's message and returns 1.
int ReportWrite(const TWriteResult& write, std::ostream& err);

// Writes the model back to the file it was read from, in the layout it was read with.
int WriteBack(TRadargram& model, const std::string& path, TRadarLayout layout, std::ostream& err);

}  // namespace trelvanox

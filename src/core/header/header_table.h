#pragma once

#include <string>

#include "common/string_grid.h"
#include "model/radar_records.h"

namespace trelvanox {

// sgReadF4Header: parameter, unit and value of the interpreted header fields.
enum class THeaderTableColumn { Parameter, Unit, Value, Count };
constexpr int kHeaderTableRows = 17;

// Titles of row 0 and the parameter and unit columns of rows 1 to 16; touches nothing else.
void SetHeaderTableCaptions(TStringGrid& grid);

// Captions, then the sixteen values in row order. Returns the approximate profile length text
// for ltxtLenghtOfProfil.
std::string FillHeaderTable(TStringGrid& grid, const TRadarHeader& header);

// TraceCount x StepX kept to its low 32 bits, read unsigned, divided by 1000: whole metres.
std::string ProfileLengthText(const TRadarHeader& header);

}  // namespace trelvanox

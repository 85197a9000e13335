#pragma once

#include <filesystem>
#include <string>

#include "model/radargram.h"

namespace trelvanox {

// The labels file beside a SEG-Y export: OUT.sgy -> OUT.labels.csv.
std::filesystem::path SegyLabelsPath(const std::filesystem::path& segyPath);

// The labels file's text, UTF-8, comma-separated, CR LF after each record: the title record
// "trace,chainage,coordinate_m,colour,text", then one record per label in the order of the
// read-label table: the SEG-Y trace sequence number (trace index + 1), the chainage text as the
// table shows it ("ПК1+05"), the trace's position in metres as the trace headers hold it, the
// label's colour as #RRGGBB and its text. A field holding a comma, a quote or a line break is
// quoted, its quotes doubled.
std::string BuildSegyLabelsText(const TRadargram& model);

}  // namespace trelvanox

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/radargram.h"

namespace trelvanox {

constexpr int kSegyTextLines = 40;
constexpr int kSegyTextColumns = 80;

// What the textual header says beyond the radargram itself.
struct TSegyTextInfo {
    std::string SourceName;       // the radargram's file name, UTF-8
    std::string Date;             // the day of the export, "YYYY-MM-DD"
    std::string LabelsName;       // the labels file's name; empty when labels are not exported
    std::int32_t Scalar = -1000;  // the coordinate scalar of the trace headers
};

// The 40 lines of the textual header, each 80 ASCII characters ("C 1 " to "C40 " in front,
// blanks behind): the program, the source file, the date, the header's texts in Latin
// letters, the counts, the times with the sample-interval convention, the permittivity, the
// start coordinate and step, where positions and label numbers are; line 39 names the SEG-Y
// revision and line 40 ends the header, as revision 1 asks.
std::vector<std::string> SegyTextLines(const TRadargram& model, const TSegyTextInfo& info);

// Russian letters in Latin letters (ж -> zh, щ -> shch, ...); other characters outside
// printable ASCII become "?".
std::string Transliterate(std::string_view utf8);

// Today's date (UTC) as "YYYY-MM-DD".
std::string TodayText();

}  // namespace trelvanox

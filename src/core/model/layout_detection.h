#pragma once

#include <filesystem>
#include <optional>

#include "model/radar_layout.h"

namespace trelvanox {

// Whether a file's bytes make sense in each layout. The file does not name its layout, and a
// file read in the wrong one gives misplaced traces and labels without an error, so the reader's
// callers look first.
//
// A layout fits when the file is as long as its counts make it in that layout (its label
// records end the file; a file without labels may end before the last gap) and every trace's
// label index there names no record beyond LabelCount (0 and 1 are no record). Either test
// fails at once for the wrong layout of almost any real file: the layouts differ by 8 bytes a
// trace, and the label indices read from inside samples are wild.
struct TLayoutFit {
    bool Gpr = false;
    bool Gpr2 = false;

    bool Fits(TRadarLayout layout) const { return layout == TRadarLayout::Gpr ? Gpr : Gpr2; }
};

// Nothing when the file cannot be read at all (the read itself reports that).
std::optional<TLayoutFit> CheckLayoutFit(const std::filesystem::path& path);

// The layout to propose instead of chosen: the other one, when chosen does not fit and the other
// does; nothing otherwise (a file that fits both or neither is read as chosen).
std::optional<TRadarLayout> OtherFittingLayout(const TLayoutFit& fit, TRadarLayout chosen);

// "GPR" or "GPR2".
const char* LayoutName(TRadarLayout layout);

}  // namespace trelvanox

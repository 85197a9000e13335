#pragma once

#include "model/radargram.h"
#include "render/sample_grid.h"

namespace trelvanox {

constexpr double kDefaultClipPercentile = 98.0;

// The amplitude that sets the picture's symmetric scale: the given percentile (0 to 100) of |a|
// over the profile's samples, by nearest rank. Where that is 0, as in a mostly zero profile, the
// largest |a| of the profile; where that is 0 too, 1, so that every sample shows as zero.
//
// A large profile is judged on an even sample of at most kScaleSampleLimit values spread over
// the whole matrix (a full sort of 10^8 values would cost more than the picture); a smaller one
// on every value. The largest |a| is always taken over every sample.
constexpr std::size_t kScaleSampleLimit = std::size_t{1} << 20;
float ClipLevelOf(const TRadargram& model, double percentile = kDefaultClipPercentile);
// The same over the traces a grid holds.
float ClipLevelOf(const TSampleGrid& grid, double percentile = kDefaultClipPercentile);

}  // namespace trelvanox

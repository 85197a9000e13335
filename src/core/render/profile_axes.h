#pragma once

#include <optional>

#include "model/radar_records.h"

namespace trelvanox {

// The physical scales of a profile's sample axis: the recording window of RecordTime ns holds
// SampleCount samples; with a permittivity eps > 0 the wave travels at 0.3 / sqrt(eps) m/ns,
// and a reflection at depth d returns after 2d / v (two-way time).
struct TProfileAxes {
    double NsPerSample = 0;
    std::optional<double> MetresPerNs;  // depth per ns of two-way time; none without eps > 0

    double TimeNs(double sample) const { return sample * NsPerSample; }
    std::optional<double> DepthMetres(double sample) const;
};

TProfileAxes ProfileAxes(const TRadarHeader& header);

}  // namespace trelvanox

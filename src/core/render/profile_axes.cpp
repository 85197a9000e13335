#include "render/profile_axes.h"

#include <cmath>

namespace trelvanox {

namespace {

constexpr double kLightMetresPerNs = 0.3;

}  // namespace

std::optional<double> TProfileAxes::DepthMetres(double sample) const {
    if (!MetresPerNs) return std::nullopt;
    return TimeNs(sample) * *MetresPerNs;
}

TProfileAxes ProfileAxes(const TRadarHeader& header) {
    TProfileAxes axes;
    if (header.SampleCount > 0)
        axes.NsPerSample = static_cast<double>(header.RecordTime) / header.SampleCount;
    const double eps = header.Permittivity;
    if (std::isfinite(eps) && eps > 0)
        axes.MetresPerNs = kLightMetresPerNs / std::sqrt(eps) / 2.0;  // there and back
    return axes;
}

}  // namespace trelvanox

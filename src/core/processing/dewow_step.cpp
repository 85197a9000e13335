#include "processing/dewow_step.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string_view>

#include "processing/window_means.h"

namespace trelvanox {

namespace {

constexpr double kFallbackWindow = 15;
// Centre frequencies of ground-penetrating-radar antennas lie in this range (MHz); any other
// number in a name is a model number or a serial.
constexpr int kLowestMHz = 10;
constexpr int kHighestMHz = 5000;

// The first whole number in the antenna's name that can be a centre frequency in MHz.
int AntennaMHz(const TRadarHeader& header) {
    const char* first = header.AntennaName;
    const std::string_view name(first, std::find(first, first + sizeof header.AntennaName, '\0'));
    std::size_t i = 0;
    while (i < name.size()) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) {
            ++i;
            continue;
        }
        long value = 0;
        std::size_t digits = 0;
        for (; i < name.size() && std::isdigit(static_cast<unsigned char>(name[i])); ++i, ++digits)
            if (digits < 7) value = value * 10 + (name[i] - '0');
        if (digits < 7 && value >= kLowestMHz && value <= kHighestMHz)
            return static_cast<int>(value);
    }
    return 0;
}

}  // namespace

void ApplyDewow(const TDewowParams& params, TTraceBlock block) {
    SubtractWindowMeans(block, params.Window);
}

double DefaultDewowWindow(const TRadarHeader& header) {
    const int mhz = AntennaMHz(header);
    if (mhz == 0 || header.SampleCount == 0 || header.RecordTime == 0) return kFallbackWindow;
    const double nsPerSample = static_cast<double>(header.RecordTime) / header.SampleCount;
    const double periodSamples = 1000.0 / mhz / nsPerSample;
    // Odd, at least 3 (a window of 1 takes each sample from itself), at most the trace.
    auto window = static_cast<long>(std::lround(periodSamples));
    if (window % 2 == 0) ++window;
    const long largest = std::max<long>(3, static_cast<long>(header.SampleCount) | 1);
    return static_cast<double>(std::clamp<long>(window, 3, largest));
}

const TStepKind kDewowStep{
    .Name = "dewow",
    .Title = "Удаление дрейфа (dewow)",
    .ValueCaption = "Окно, отсчётов",
    .ValueName = "the window",
    .Value = TValueKind::Odd,
    .Minimum = 1,
    .Maximum = 1023,
    .Default = DefaultDewowWindow,
    .Run = [](double value, const TStepContext&,
              TTraceBlock block) { ApplyDewow({static_cast<std::uint32_t>(value)}, block); },
};

}  // namespace trelvanox

#pragma once

#include <QString>
#include <vector>

namespace trelvanox {

// One mark of an axis: where it lies along the picture (pixels from its start) and what it says.
struct TAxisTick {
    double Pixel = 0;
    double Value = 0;
};

struct TAxisTicks {
    double Step = 1;  // between two ticks, in the axis's unit
    std::vector<TAxisTick> Ticks;
};

// Ticks at round values (1, 2 or 5 times a power of ten) at least minSpacing pixels apart, for
// an axis that shows cells [first, first + span) over pixels, each cell worth unit (a trace is
// 1, a sample its ns or metres). A tick at value v marks the start of cell v / unit.
TAxisTicks AxisTicks(double first, double span, int pixels, double unit, double minSpacing);

// The value as a tick shows it: no more decimals than the step between ticks needs.
QString TickText(double value, double step);

}  // namespace trelvanox

#include "desktop/view/view_axes.h"

#include <cmath>

namespace trelvanox {

namespace {

double NiceStep(double least) {
    const double power = std::pow(10.0, std::floor(std::log10(least)));
    for (const double m : {1.0, 2.0, 5.0})
        if (m * power >= least) return m * power;
    return 10.0 * power;
}

}  // namespace

TAxisTicks AxisTicks(double first, double span, int pixels, double unit, double minSpacing) {
    TAxisTicks ticks;
    if (pixels <= 0 || span <= 0 || !(unit > 0)) return ticks;
    const double step = NiceStep(span * unit * minSpacing / pixels);
    ticks.Step = step;
    const double from = std::ceil(first * unit / step);
    const double to = std::floor((first + span) * unit / step);
    for (double k = from; k <= to; ++k) {
        const double value = k * step;
        ticks.Ticks.push_back({(value / unit - first) * pixels / span, value});
    }
    return ticks;
}

QString TickText(double value, double step) {
    const int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
    return QString::number(value, 'f', decimals);
}

}  // namespace trelvanox

#include "labels/trace_calibration.h"

#include <algorithm>
#include <limits>
#include <string>
#include <utility>

namespace trelvanox {

namespace {

using TWide = __int128;

// num / den rounded to the nearest whole number, halves away from zero; den > 0.
TWide RoundedQuotient(TWide num, TWide den) {
    if (num >= 0) return (2 * num + den) / (2 * den);
    return -((-2 * num + den) / (2 * den));
}

// The chainage of trace t on the line through anchors a and b (a.Trace < b.Trace).
TWide ChainageOn(const TCalibrationAnchor& a, const TCalibrationAnchor& b, std::int64_t t) {
    const TWide span = TWide{b.Trace} - a.Trace;
    const TWide num = TWide{a.Chainage} * span + (TWide{b.Chainage} - a.Chainage) * (t - a.Trace);
    return RoundedQuotient(num, span);
}

void CheckAnchors(const std::vector<TCalibrationAnchor>& anchors, std::size_t traceCount) {
    if (anchors.size() < 2) throw TCalibrationError("Нужны истинные пикеты хотя бы двух меток.");
    for (const TCalibrationAnchor& a : anchors) {
        if (a.Trace >= traceCount)
            throw TCalibrationError("Трассы " + std::to_string(a.Trace) + " нет в радарограмме.");
    }
    for (std::size_t i = 1; i < anchors.size(); ++i) {
        if (anchors[i].Trace == anchors[i - 1].Trace)
            throw TCalibrationError("Для трассы " + std::to_string(anchors[i].Trace) +
                                    " пикет задан дважды.");
    }
    const bool increasing = anchors[1].Chainage > anchors[0].Chainage;
    for (std::size_t i = 1; i < anchors.size(); ++i) {
        const bool up = anchors[i].Chainage > anchors[i - 1].Chainage;
        if (anchors[i].Chainage == anchors[i - 1].Chainage || up != increasing)
            throw TCalibrationError(
                "Пикеты должны строго возрастать или строго убывать с номером трассы: трассы " +
                std::to_string(anchors[i - 1].Trace) + " и " + std::to_string(anchors[i].Trace) +
                " нарушают порядок.");
    }
}

}  // namespace

TCalibrationPlan PlanCalibration(const TRadargram& model, std::vector<TCalibrationAnchor> anchors,
                                 bool setStart) {
    if (!model.HasHeader()) throw TCalibrationError("Радарограмма не прочитана.");
    const std::size_t traceCount =
        std::min<std::size_t>(model.TraceHeaders().size(), model.Header().TraceCount);
    std::sort(anchors.begin(), anchors.end(),
              [](const auto& a, const auto& b) { return a.Trace < b.Trace; });
    CheckAnchors(anchors, traceCount);

    TCalibrationPlan plan;
    for (std::size_t i = 1; i < anchors.size(); ++i) {
        const double mm = static_cast<double>(anchors[i].Chainage - anchors[i - 1].Chainage);
        plan.StepsCm.push_back(mm / 10.0 / (anchors[i].Trace - anchors[i - 1].Trace));
    }

    // Trace 0 lies before or on the first anchor: the first segment's line gives its chainage.
    TWide start = model.Header().StartCoordinate;
    if (setStart) {
        start = ChainageOn(anchors[0], anchors[1], 0);
        if (start < std::numeric_limits<std::int64_t>::min() ||
            start > std::numeric_limits<std::int64_t>::max())
            throw TCalibrationError("Начальный пикет не помещается в заголовок.");
    }
    plan.StartCoordinate = static_cast<std::int64_t>(start);

    plan.Coordinates.resize(traceCount);
    std::size_t segment = 0;
    for (std::size_t t = 0; t < traceCount; ++t) {
        // The segment that holds t, or the nearest one before the first and after the last.
        while (segment + 2 < anchors.size() && t > anchors[segment + 1].Trace) ++segment;
        const TWide coordinate =
            ChainageOn(anchors[segment], anchors[segment + 1], static_cast<std::int64_t>(t)) -
            start;
        if (coordinate < std::numeric_limits<std::int32_t>::min() ||
            coordinate > std::numeric_limits<std::int32_t>::max())
            throw TCalibrationError("Координата трассы " + std::to_string(t) +
                                    " не помещается в 32-битное поле (±2147483 м от начала).");
        plan.Coordinates[t] = static_cast<std::int32_t>(coordinate);
    }
    plan.Anchors = std::move(anchors);
    return plan;
}

std::optional<TLabelEdit> CalibrationEdit(const TRadargram& model, TCalibrationPlan plan) {
    const auto traces = model.TraceHeaders();
    bool same = model.Header().StartCoordinate == plan.StartCoordinate &&
                plan.Coordinates.size() <= traces.size();
    for (std::size_t t = 0; same && t < plan.Coordinates.size(); ++t)
        same = traces[t].Coordinate == plan.Coordinates[t];
    if (same) return std::nullopt;
    std::string description = "Пересчёт координат по меткам";
    return TLabelEdit{std::move(description), [plan = std::move(plan)](TRadargram& m) {
                          m.Header().StartCoordinate = plan.StartCoordinate;
                          const auto headers = m.TraceHeaders();
                          const std::size_t n = std::min(headers.size(), plan.Coordinates.size());
                          for (std::size_t t = 0; t < n; ++t)
                              headers[t].Coordinate = plan.Coordinates[t];
                      }};
}

}  // namespace trelvanox

#include "amplitude/amplitude_operations.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <span>
#include <utility>

#include "common/conversion.h"
#include "common/number_format.h"

namespace trelvanox {

namespace {

// Passes positions on to the callback: the first one, then only those that differ from the
// last, so that a caller repainting a bar is called at most about a hundred times.
class TProgressReporter {
  public:
    explicit TProgressReporter(const TProgress& progress) : progress_(progress) {}

    void Report(std::uint32_t position) {
        if (!progress_ || (reported_ && position == last_)) return;
        reported_ = true;
        last_ = position;
        progress_(position);
    }

  private:
    const TProgress& progress_;
    bool reported_ = false;
    std::uint32_t last_ = 0;
};

// done x 100 / total in unsigned 32-bit arithmetic, truncated.
std::uint32_t Percent(std::uint32_t done, std::uint32_t total) {
    return done * 100u / total;
}

// The traces and samples of the file that lie inside the matrix; the reader admits no more than
// the matrix holds, and the limit keeps every operation inside it whatever the header says.
std::uint32_t FileTraces(const TRadargram& model) {
    return std::min(model.Header().TraceCount, kMaxTraces);
}

std::uint32_t FileSamples(const TRadargram& model) {
    return std::min(model.Header().SampleCount, kMaxSamples);
}

std::span<float> TraceSamples(TRadargram& model, std::uint32_t t) {
    return model.SampleMatrix().Row(t).first(FileSamples(model));
}

std::span<const float> TraceSamples(const TRadargram& model, std::uint32_t t) {
    return model.SampleMatrix().Row(t).first(FileSamples(model));
}

// A level or threshold: the text's number rounded to double.
double LevelValue(std::string_view text) {
    return static_cast<double>(StrToFloat(text));
}

double ThresholdValue(std::string_view text) {
    return std::fabs(LevelValue(text));
}

// A conversion whose failure matters only if the operation comes to need the value.
template <typename T>
struct TAttempt {
    std::optional<T> Value;
    std::exception_ptr Error;

    [[noreturn]] void Raise() const { std::rethrow_exception(Error); }
};

template <typename TConvert>
auto Attempt(TConvert convert) -> TAttempt<decltype(convert())> {
    try {
        return {convert(), nullptr};
    } catch (const TConversionError&) {
        return {std::nullopt, std::current_exception()};
    }
}

// The window limited to the file: traces FirstTrace to LastTrace and SampleCount samples from
// FirstSample (possibly none).
struct TWindowRange {
    std::uint32_t FirstTrace;
    std::uint32_t LastTrace;
    std::uint32_t FirstSample;
    std::uint32_t SampleCount;

    std::span<float> Samples(TRadargram& model, std::uint32_t t) const {
        return model.SampleMatrix().Row(t).subspan(FirstSample, SampleCount);
    }
    std::span<const float> Samples(const TRadargram& model, std::uint32_t t) const {
        return model.SampleMatrix().Row(t).subspan(FirstSample, SampleCount);
    }
};

// Nothing when the window holds no trace of the file.
std::optional<TWindowRange> LimitToFile(const TProcessingWindow& window, const TRadargram& model) {
    const std::uint32_t traces = FileTraces(model);
    const std::uint32_t samples = FileSamples(model);
    if (window.FirstTrace > window.LastTrace || window.FirstTrace >= traces) return std::nullopt;
    TWindowRange range{window.FirstTrace, std::min(window.LastTrace, traces - 1),
                       window.FirstSample, 0};
    if (window.FirstSample <= window.LastSample && window.FirstSample < samples)
        range.SampleCount = std::min(window.LastSample, samples - 1) - window.FirstSample + 1;
    return range;
}

bool AnyInWindow(const TRadargram& model, const TWindowRange& range,
                 const TAmplitudeCondition& condition) {
    for (std::uint32_t t = range.FirstTrace; t <= range.LastTrace; ++t) {
        if (AnyMeets(range.Samples(model, t), condition)) return true;
    }
    return false;
}

// Converts the gain's texts for a window that holds at least one sample, in the order in which
// a sample-by-sample pass would first need them: the mode's first threshold at the first sample,
// the upper threshold of between at the first sample above the lower one, the factor at the
// first sample that qualifies. Nothing when a text that fails is never needed, since then no
// sample qualifies.
std::optional<TGainKernel> PrepareGain(const TRadargram& model, const TWindowRange& range,
                                       const TGainTexts& texts) {
    const double threshold = ThresholdValue(texts.Threshold);
    auto condition = TAmplitudeCondition::Below(threshold);
    if (texts.Mode == TGainMode::Above) {
        condition = TAmplitudeCondition::Above(threshold);
    } else if (texts.Mode == TGainMode::Between) {
        const auto upper = Attempt([&] { return ThresholdValue(texts.UpperThreshold); });
        if (!upper.Value) {
            if (AnyInWindow(model, range, TAmplitudeCondition::Above(threshold))) upper.Raise();
            return std::nullopt;
        }
        condition = TAmplitudeCondition::Between(threshold, *upper.Value);
    }
    const auto factor = Attempt([&] { return StrToFloat(texts.Factor); });
    if (!factor.Value) {
        if (AnyInWindow(model, range, condition)) factor.Raise();
        return std::nullopt;
    }
    return TGainKernel(condition, *factor.Value);
}

// Applies the kernel to every trace of the file in order, reporting t x 100 / TraceCount after
// each trace.
template <typename TKernel>
void ForEachTrace(TRadargram& model, const TKernel& kernel, const TProgress& progress) {
    const std::uint32_t traceCount = model.Header().TraceCount;
    TProgressReporter reporter(progress);
    for (std::uint32_t t = 0; t < FileTraces(model); ++t) {
        kernel.Apply(TraceSamples(model, t));
        reporter.Report(Percent(t, traceCount));
    }
}

// The level of a whole-file stage, converted at the file's first sample; a file without samples
// never needs it.
double StageLevel(const TRadargram& model, std::string_view text) {
    const bool hasSamples = FileTraces(model) > 0 && FileSamples(model) > 0;
    return hasSamples ? LevelValue(text) : 0.0;
}

std::uint32_t UnsignedTrace(std::string_view text) {
    return static_cast<std::uint32_t>(StrToInt(text));
}

std::uint32_t SpinEditValue(std::string_view text) {
    try {
        return static_cast<std::uint32_t>(StrToInt(text));
    } catch (const TConversionError&) {
        return 0;
    }
}

}  // namespace

TProcessingWindow WholeRadargramWindow(const TRadarHeader& header) {
    return {0, header.TraceCount - 1u, 0, header.SampleCount - 1u};
}

TProcessingWindow ProcessingWindowFromTexts(std::string_view firstTrace, std::string_view lastTrace,
                                            std::string_view firstSample,
                                            std::string_view lastSample) {
    return {SpinEditValue(firstTrace), SpinEditValue(lastTrace), SpinEditValue(firstSample),
            SpinEditValue(lastSample)};
}

void ApplyGain(TRadargram& model, const TProcessingWindow& window, const TGainTexts& texts,
               const TProgress& progress) {
    const auto range = LimitToFile(window, model);
    if (!range) return;
    const std::optional<TGainKernel> kernel =
        range->SampleCount > 0 ? PrepareGain(model, *range, texts) : std::nullopt;
    const std::uint32_t first = range->FirstTrace;
    const std::uint32_t last = range->LastTrace;
    TProgressReporter reporter(progress);
    for (std::uint32_t t = first; t <= last; ++t) {
        if (kernel) kernel->Apply(range->Samples(model, t));
        if (last > first) reporter.Report(Percent(t - first, last - first));
    }
}

void ClipAmplitudes(TRadargram& model, std::string_view maxLevel, const TProgress& progress) {
    const TClipKernel kernel(StageLevel(model, maxLevel));
    ForEachTrace(model, kernel, progress);
}

void SilenceAmplitudes(TRadargram& model, std::string_view minLevel, const TProgress& progress) {
    const TSilenceKernel kernel(StageLevel(model, minLevel));
    ForEachTrace(model, kernel, progress);
}

void ZeroTraces(TRadargram& model, std::string_view firstTrace, std::string_view lastTrace,
                const TProgress& progress) {
    const std::uint32_t traces = FileTraces(model);
    if (traces == 0) return;
    const std::uint32_t first = UnsignedTrace(firstTrace);
    // The last trace is read only once a trace reaches the first.
    if (first >= traces) return;
    const std::uint32_t last = UnsignedTrace(lastTrace);
    const std::uint32_t traceCount = model.Header().TraceCount;
    TProgressReporter reporter(progress);
    for (std::uint32_t t = first; t <= last && t < traces; ++t) {
        std::ranges::fill(TraceSamples(model, t), 0.0f);
        reporter.Report(Percent(t, traceCount));
    }
}

std::string PositionText(TSamplePosition position) {
    return "Трасса № " + FormatUnsigned(position.Trace) + " / Отсчет №" +
           FormatUnsigned(position.Sample);
}

std::string TExtremes::MinText() const {
    return FormatFloat(static_cast<double>(Min));
}

std::string TExtremes::MaxText() const {
    return FormatFloat(static_cast<double>(Max));
}

TExtremes FindExtremes(const TRadargram& model, const TProgress& progress) {
    TExtremes found;
    const std::uint32_t traceCount = model.Header().TraceCount;
    TProgressReporter reporter(progress);
    for (std::uint32_t t = 0; t < FileTraces(model); ++t) {
        const std::span<const float> samples = TraceSamples(model, t);
        // Strict comparisons with what earlier traces gave keep ties with the first trace; within
        // a trace the first sample of the extreme amplitude is taken.
        if (const float largest = LargestAmplitude(samples); largest > found.Max) {
            found.Max = largest;
            found.MaxPosition = TSamplePosition{
                t, static_cast<std::uint32_t>(FirstWithAmplitude(samples, largest))};
        }
        if (const float smallest = SmallestNonZeroAmplitude(samples); smallest < found.Min) {
            found.Min = smallest;
            found.MinPosition = TSamplePosition{
                t, static_cast<std::uint32_t>(FirstWithAmplitude(samples, smallest))};
        }
        reporter.Report(Percent(t, traceCount));
    }
    return found;
}

std::optional<TSamplePosition> ZeroLargestAmplitude(TRadargram& model, const TProgress& progress) {
    float largest = 0.0f;
    std::optional<TSamplePosition> position;
    const std::uint32_t traceCount = model.Header().TraceCount;
    TProgressReporter reporter(progress);
    for (std::uint32_t t = 0; t < FileTraces(model); ++t) {
        const std::span<const float> samples = TraceSamples(std::as_const(model), t);
        if (const float trace = LargestAmplitude(samples); trace > largest) {
            largest = trace;
            position =
                TSamplePosition{t, static_cast<std::uint32_t>(FirstWithAmplitude(samples, trace))};
        }
        // The position follows every sample; a trace without samples sets none.
        if (!samples.empty()) reporter.Report(Percent(t, traceCount));
    }
    if (position) model.SampleMatrix().Row(position->Trace)[position->Sample] = 0.0f;
    return position;
}

}  // namespace trelvanox

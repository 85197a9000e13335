#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "amplitude/amplitude_kernels.h"
#include "model/radargram.h"

namespace trelvanox {

// The amplitude operations on the model's samples. They change the samples in memory only; the
// caller checks FileLoaded before and writes the file afterwards. User texts go in as they stand
// and are converted before any sample changes: a text that does not convert raises
// TConversionError, and then nothing has changed. A text is converted (and can fail) only when
// the operation reaches a sample or trace that needs it, as when it is read anew for each one:
// an empty window needs no threshold, a gain in which no sample qualifies no factor.

// Receives the progress position (0 to 100) as each operation computes it: once with the first
// position, then whenever it changes.
using TProgress = std::function<void(std::uint32_t position)>;

// Traces FirstTrace to LastTrace and samples FirstSample to LastSample, both ends included,
// compared as unsigned numbers. The gain limits it to the file: traces below TraceCount and
// samples below SampleCount; nothing outside the file changes.
struct TProcessingWindow {
    std::uint32_t FirstTrace = 0;
    std::uint32_t LastTrace = 0;
    std::uint32_t FirstSample = 0;
    std::uint32_t LastSample = 0;
};

// The whole radargram: 0, TraceCount - 1, 0, SampleCount - 1 in unsigned arithmetic (so a file
// without traces gives a last trace of 4294967295).
TProcessingWindow WholeRadargramWindow(const TRadarHeader& header);
// The window as the four spin edits give it: each text read as an integer, or 0 when it is not
// one, and taken as unsigned.
TProcessingWindow ProcessingWindowFromTexts(std::string_view firstTrace, std::string_view lastTrace,
                                            std::string_view firstSample,
                                            std::string_view lastSample);

// The texts of the gain's controls.
struct TGainTexts {
    std::string_view Factor;  // ltxtGain
    TGainMode Mode = TGainMode::Below;
    // The chosen mode's threshold: stxtGainForMin, stxtGainForMax or, for between, the lower
    // one, stxtGainForMiddleMin.
    std::string_view Threshold;
    std::string_view UpperThreshold;  // stxtGainForMiddleMax, between only
};

// Multiplies by the factor the samples of the window whose amplitude meets the mode's strict
// test against the thresholds' absolute values. Progress after each trace t of a window of
// several traces: (t - F) x 100 / (L - F) over the window limited to the file.
void ApplyGain(TRadargram& model, const TProcessingWindow& window, const TGainTexts& texts,
               const TProgress& progress = {});

// The clipping stage: every sample with |a| > |M| becomes sigma x M (sigma the sign of a, + for
// zero). Progress after each trace t: t x 100 / TraceCount.
void ClipAmplitudes(TRadargram& model, std::string_view maxLevel, const TProgress& progress = {});
// The silencing stage: every sample with |a| < |m| becomes +0.0. Progress as for clipping.
void SilenceAmplitudes(TRadargram& model, std::string_view minLevel,
                       const TProgress& progress = {});

// Sets every sample of the traces B to E (both included, unsigned, limited to the file) to +0.0;
// the texts are whole numbers. Progress after each zeroed trace t: t x 100 / TraceCount, also
// the percentage of lblProcentDone.
void ZeroTraces(TRadargram& model, std::string_view firstTrace, std::string_view lastTrace,
                const TProgress& progress = {});

struct TSamplePosition {
    std::uint32_t Trace = 0;
    std::uint32_t Sample = 0;
    bool operator==(const TSamplePosition&) const = default;
};

// The caption of a position label before any search found a position.
inline constexpr std::string_view kNoPositionText = "Трасса №_____/Отсчет №_____";

// "Трасса № <t> / Отсчет №<s>".
std::string PositionText(TSamplePosition position);

// What the search finds: the smallest non-zero and the largest amplitude, single precision, each
// with the first position that holds it in trace-major order. A position is empty when no
// sample beat the start value (30000000 for the minimum, 0 for the maximum); the position labels
// then keep their previous texts.
struct TExtremes {
    float Min = 30000000.0f;
    float Max = 0.0f;
    std::optional<TSamplePosition> MinPosition;
    std::optional<TSamplePosition> MaxPosition;

    // The texts of ltxtSampleWithMinAmplitude and ltxtSampleWithMaxAmplitude: the value widened
    // to double, up to 15 significant digits (0.1 stored shows as 0.100000001490116).
    std::string MinText() const;
    std::string MaxText() const;
};

// Progress after each trace t: t x 100 / TraceCount.
TExtremes FindExtremes(const TRadargram& model, const TProgress& progress = {});

// Sets to +0.0 the first sample, in trace-major order, of the largest amplitude, and returns its
// position; nothing when every sample is zero (or NaN). Progress as for the search.
std::optional<TSamplePosition> ZeroLargestAmplitude(TRadargram& model,
                                                    const TProgress& progress = {});

}  // namespace trelvanox

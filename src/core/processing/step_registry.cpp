#include "processing/step_registry.h"

#include <array>

#include "processing/agc_step.h"
#include "processing/background_step.h"
#include "processing/dewow_step.h"
#include "processing/time_gain_step.h"
#include "processing/time_zero_step.h"
#ifdef TRELVANOX_HAVE_FFT
#include "processing/envelope_step.h"
#endif

namespace trelvanox {

namespace {

const auto kSteps = std::to_array<const TStepKind*>({
    &kTimeZeroStep,
    &kDewowStep,
    &kBackgroundStep,
    &kTimeGainStep,
    &kAgcStep,
#ifdef TRELVANOX_HAVE_FFT
    &kEnvelopeStep,
#endif
});

}  // namespace

std::span<const TStepKind* const> ProcessingSteps() {
    return kSteps;
}

const TStepKind* FindProcessingStep(std::string_view name) {
    for (const TStepKind* kind : kSteps)
        if (kind->Name == name) return kind;
    return nullptr;
}

std::string_view LeftOutReason(std::string_view name) {
#ifndef TRELVANOX_HAVE_FFT
    if (name == "envelope") return "this build has no FFT library, which the envelope needs";
#endif
    (void)name;
    return {};
}

}  // namespace trelvanox

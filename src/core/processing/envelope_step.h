#pragma once

#include "processing/step_kind.h"
#include "processing/trace_block.h"

namespace trelvanox {

// Envelope: the magnitude of the analytic signal of each whole trace, sqrt(x^2 + H[x]^2), with
// H the discrete Hilbert transform through an FFT of the trace's length (the spectrum doubled
// at the positive frequencies, kept at 0 and at the Nyquist frequency of an even length, zero
// at the negative ones). It shows the strength of a reflection whatever its phase.
struct TEnvelopeParams {};

void ApplyEnvelope(const TEnvelopeParams& params, TTraceBlock block);

extern const TStepKind kEnvelopeStep;

}  // namespace trelvanox

#pragma once

#include <span>
#include <string_view>

#include "processing/step_kind.h"

namespace trelvanox {

// Every processing step this build has, in the order the panel first lists them. The panel, the
// batch tool and the chain's text all read this table. A build without the FFT library has no
// envelope.
std::span<const TStepKind* const> ProcessingSteps();

// The step of that name, or null.
const TStepKind* FindProcessingStep(std::string_view name);

// Why a step of that name is missing from this build ("" when it is not a step left out).
std::string_view LeftOutReason(std::string_view name);

}  // namespace trelvanox

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "processing/step_kind.h"

namespace trelvanox {

// One step of a chain: its kind, its value (0 for a step without one) and whether it runs.
struct TChainStep {
    const TStepKind* Kind = nullptr;
    double Value = 0;
    bool On = true;
    bool operator==(const TChainStep&) const = default;
};

// Steps run in the order they stand.
using TProcessingChain = std::vector<TChainStep>;

// Why value does not suit the step ("dewow=14: the window must be ..."), or nothing when it does.
std::optional<std::string> RefusalOf(const TStepKind& kind, double value);

// A chain's text: steps separated by commas, each its name and, for a step with a value, "=" and
// the value: "zero=12,dewow=15,bgr=0,tpow=1.5,envelope". Spaces around the parts are allowed. A
// step written "-name=value" is kept but off (as the view stores a chain). Throws
// TProgramError naming the step for an unknown step, a missing, stray or bad value, or an
// empty chain.
TProcessingChain ParseChain(std::string_view text);
// The text ParseChain reads back into the same chain.
std::string ChainText(const TProcessingChain& chain);
// The steps that run, in order.
TProcessingChain StepsOn(const TProcessingChain& chain);

// The steps that this build has (see ProcessingSteps), how a step's value looks in a text.
std::string ValueText(const TStepKind& kind, double value);
std::string StepNames();

}  // namespace trelvanox

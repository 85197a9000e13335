#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "model/radar_records.h"
#include "processing/trace_block.h"

namespace trelvanox {

// The kind of a step's one value.
enum class TValueKind {
    None,       // the step takes no value
    Whole,      // a whole number from Minimum to Maximum
    Odd,        // an odd whole number from Minimum to Maximum (a window centred on its sample)
    OddOrZero,  // 0 (all of the profile) or an odd whole number from Minimum to Maximum
    Real,       // a finite number from Minimum to Maximum
};

// One kind of processing step, as the registry lists it (step_registry.h). Each step's own file
// defines its entry beside its parameter struct and its function.
struct TStepKind {
    std::string_view Name;          // in a chain's text: "dewow"
    std::string_view Title;         // the panel's name of it
    std::string_view ValueCaption;  // the panel's caption of its value with the unit
    std::string_view ValueName;     // its value in a refusal: "the window"
    TValueKind Value = TValueKind::None;
    double Minimum = 0;
    double Maximum = 0;
    int Decimals = 0;  // how the panel and a chain's text show a Real value
    // The value the panel offers for a profile with this header.
    double (*Default)(const TRadarHeader& header) = nullptr;
    // Whether a result at one trace depends on other traces; when it does, Reach says on how
    // many either side, and NeedsWholeProfile whether on all of them.
    bool AcrossTraces = false;
    std::uint32_t (*Reach)(double value) = nullptr;
    bool (*NeedsWholeProfile)(double value) = nullptr;
    // Tables computed once per run (null: none); may throw TProgramError naming the step when
    // the profile does not allow it.
    std::shared_ptr<const void> (*Prepare)(double value, const TStepContext& context) = nullptr;
    // Changes the block in place. A step across traces gets the whole of what is processed.
    void (*Run)(double value, const TStepContext& context, TTraceBlock block) = nullptr;
};

}  // namespace trelvanox

#include "processing/processing_chain.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "common/program_error.h"
#include "processing/step_registry.h"

namespace trelvanox {

namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::string NumberText(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string out(text);
    // "1.50" reads as "1.5", "2.00" as "2".
    if (out.find('.') != std::string::npos) {
        while (out.back() == '0') out.pop_back();
        if (out.back() == '.') out.pop_back();
    }
    return out;
}

std::string Demand(const TStepKind& kind) {
    const std::string low = NumberText(kind.Minimum, kind.Decimals);
    const std::string high = NumberText(kind.Maximum, kind.Decimals);
    switch (kind.Value) {
        case TValueKind::Whole:
            return "a whole number from " + low + " to " + high;
        case TValueKind::Odd:
            return "an odd whole number from " + low + " to " + high;
        case TValueKind::OddOrZero:
            return "0 (all) or an odd whole number from " + low + " to " + high;
        case TValueKind::Real:
            return "a number from " + low + " to " + high;
        case TValueKind::None:
            break;
    }
    return "nothing";
}

TChainStep ParseStep(std::string_view part) {
    bool on = true;
    if (!part.empty() && part.front() == '-') {
        on = false;
        part = Trimmed(part.substr(1));
    }
    const std::size_t equals = part.find('=');
    const std::string name(Trimmed(part.substr(0, equals)));
    const TStepKind* kind = FindProcessingStep(name);
    if (!kind && !LeftOutReason(name).empty())
        throw TProgramError(name + ": " + std::string(LeftOutReason(name)));
    if (!kind)
        throw TProgramError("unknown processing step '" + name + "'; the steps are " + StepNames());
    if (kind->Value == TValueKind::None) {
        if (equals != std::string_view::npos)
            throw TProgramError(name + " takes no value: write it as " + name);
        return {kind, 0, on};
    }
    const std::string_view valueText =
        equals == std::string_view::npos ? std::string_view{} : Trimmed(part.substr(equals + 1));
    if (valueText.empty())
        throw TProgramError(name + " needs a value: " + name + "=V, " +
                            std::string(kind->ValueName) + " being " + Demand(*kind));
    double value = 0;
    const auto [end, error] =
        std::from_chars(valueText.data(), valueText.data() + valueText.size(), value);
    if (error != std::errc() || end != valueText.data() + valueText.size())
        throw TProgramError(name + "=" + std::string(valueText) + ": not a number");
    if (auto refusal = RefusalOf(*kind, value)) throw TProgramError(*refusal);
    return {kind, value, on};
}

}  // namespace

std::optional<std::string> RefusalOf(const TStepKind& kind, double value) {
    bool fits = std::isfinite(value);
    if (fits && kind.Value != TValueKind::Real) fits = value == std::floor(value);
    if (fits && kind.Value == TValueKind::OddOrZero && value == 0) return std::nullopt;
    if (fits && (kind.Value == TValueKind::Odd || kind.Value == TValueKind::OddOrZero))
        fits = std::fmod(value, 2.0) != 0;
    if (fits && kind.Value != TValueKind::None)
        fits = value >= kind.Minimum && value <= kind.Maximum;
    if (fits) return std::nullopt;
    return std::string(kind.Name) + "=" + NumberText(value, 6) + ": " +
           std::string(kind.ValueName) + " must be " + Demand(kind);
}

TProcessingChain ParseChain(std::string_view text) {
    TProcessingChain chain;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view part = Trimmed(text.substr(0, comma));
        if (part.empty())
            throw TProgramError(chain.empty() && comma == std::string_view::npos
                                    ? "no processing steps given; the steps are " + StepNames()
                                    : "an empty processing step between commas");
        chain.push_back(ParseStep(part));
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return chain;
}

std::string ValueText(const TStepKind& kind, double value) {
    return NumberText(value, kind.Value == TValueKind::Real ? std::max(kind.Decimals, 6) : 0);
}

std::string ChainText(const TProcessingChain& chain) {
    std::string text;
    for (const TChainStep& step : chain) {
        if (!text.empty()) text += ',';
        if (!step.On) text += '-';
        text += step.Kind->Name;
        if (step.Kind->Value == TValueKind::None) continue;
        text += '=';
        text += ValueText(*step.Kind, step.Value);
    }
    return text;
}

TProcessingChain StepsOn(const TProcessingChain& chain) {
    TProcessingChain on;
    for (const TChainStep& step : chain)
        if (step.On) on.push_back(step);
    return on;
}

std::string StepNames() {
    std::string names;
    for (const TStepKind* kind : ProcessingSteps()) {
        if (!names.empty()) names += ", ";
        names += kind->Name;
    }
    return names;
}

}  // namespace trelvanox

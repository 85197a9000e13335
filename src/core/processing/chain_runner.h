#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/radargram.h"
#include "processing/processing_chain.h"

namespace trelvanox {

// The processed samples of traces [First, First + Count) of a profile, each SampleCount values.
struct TProcessedTraces {
    std::uint32_t First = 0;
    std::uint32_t Count = 0;
    std::uint32_t SampleCount = 0;
    // Values holds a few traces more on either side when a step reached across traces; Rows()
    // is the row of trace First.
    std::size_t LeadRows = 0;
    std::unique_ptr<float[]> Values;

    const float* Rows() const { return Values.get() + LeadRows * SampleCount; }
    // Trace t, First <= t < First + Count.
    std::span<const float> Trace(std::uint32_t t) const {
        return {Rows() + std::size_t{t - First} * SampleCount, SampleCount};
    }
};

// Told how far processing has come (0..1); false asks it to stop.
using TProcessingProgress = std::function<bool(double fraction)>;

// What a run over part of a profile keeps for the next: the means over all traces that a step
// such as background removal over the whole profile needs, by the steps before it. It belongs to
// one profile's samples; whoever changes them clears it.
class TProcessingCache {
  public:
    const std::vector<double>* Find(const std::string& key) const;
    void Keep(const std::string& key, std::vector<double> means);
    void Clear() { means_.clear(); }

  private:
    std::map<std::string, std::vector<double>> means_;
};

// Runs the chain's steps that are on, in order, over traces [first, end) of the model (cut to
// its traces), from the model's samples into a new buffer; the model is not changed. Steps that
// reach across traces get the traces they need beyond the range, and the means over the whole
// profile when they need them (kept in cache when given). Nothing when progress asked to stop.
// Throws TProgramError naming a step that the profile does not allow.
std::optional<TProcessedTraces> ProcessTraces(const TRadargram& model,
                                              const TProcessingChain& chain, std::uint32_t first,
                                              std::uint32_t end,
                                              const TProcessingProgress& progress = {},
                                              TProcessingCache* cache = nullptr);

// The whole profile.
std::optional<TProcessedTraces> ProcessProfile(const TRadargram& model,
                                               const TProcessingChain& chain,
                                               const TProcessingProgress& progress = {});

}  // namespace trelvanox

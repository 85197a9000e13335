#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/radargram.h"
#include "processing/processing_chain.h"
#include "processing/sample_buffer.h"

namespace trelvanox {

// The processed samples of traces [First, First + Count) of a profile, each SampleCount values.
struct TProcessedTraces {
    std::uint32_t First = 0;
    std::uint32_t Count = 0;
    std::uint32_t SampleCount = 0;
    // Values holds a few traces more on either side when a step reached across traces; Rows()
    // is the row of trace First.
    std::size_t LeadRows = 0;
    TSampleBuffer Values;

    const float* Rows() const { return Values.Data() + LeadRows * SampleCount; }
    // Trace t, First <= t < First + Count.
    std::span<const float> Trace(std::uint32_t t) const {
        return {Rows() + std::size_t{t - First} * SampleCount, SampleCount};
    }
};

// Told how far processing has come (0..1); false asks it to stop.
using TProcessingProgress = std::function<bool(double fraction)>;

// What a run keeps for the next: the means over all traces that a step such as background
// removal over the whole profile needs, by the steps before it, and a buffer the caller is done
// with, for the next run to fill instead of fresh memory. The means belong to one profile's
// samples; whoever changes them clears them. A run on another thread may use it meanwhile.
class TProcessingCache {
  public:
    std::optional<std::vector<double>> Find(const std::string& key) const;
    void Keep(const std::string& key, std::vector<double> means);
    void Clear();
    // Keeps the traces' memory for a later run (the largest one given).
    void Recycle(TProcessedTraces&& traces);
    // A kept buffer of at least count values, or a fresh one.
    TSampleBuffer Buffer(std::size_t count);

  private:
    mutable std::mutex mutex_;
    std::map<std::string, std::vector<double>> means_;
    TSampleBuffer spare_;
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

#include "processing/chain_runner.h"

#include <emmintrin.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <thread>

#include "processing/column_sums.h"

namespace trelvanox {

namespace {

// Traces are processed in blocks small enough that one block stays in the first-level cache
// while every step of a run of per-trace steps goes over it.
constexpr std::uint32_t kBlockTraces = 8;
// Progress is told, and a stop is seen, after each part of this many traces.
constexpr std::uint32_t kPartTraces = 8192;
// Below this many samples a part is done on the calling thread alone.
constexpr std::size_t kSamplesPerThread = std::size_t{1} << 16;

struct TRunStep {
    TChainStep Step;
    std::shared_ptr<const void> Plan;
    // For a step that needs the means over the whole profile: those of its input, once known;
    // from then on it runs block by block like a step on each trace alone.
    std::vector<double> Means;
    bool Blockwise = false;
};

struct TProfileShape {
    std::uint32_t Traces = 0;
    std::uint32_t Samples = 0;
    double NsPerSample = 0;
};

TProfileShape ShapeOf(const TRadargram& model) {
    TProfileShape shape;
    shape.Traces = static_cast<std::uint32_t>(
        std::min<std::size_t>(model.Header().TraceCount, model.TraceHeaders().size()));
    shape.Samples = std::min(model.Header().SampleCount, kMaxSamples);
    if (shape.Samples > 0)
        shape.NsPerSample = static_cast<double>(model.Header().RecordTime) / shape.Samples;
    return shape;
}

// Rows of the block's samples from scratch into the buffer. The stores go straight to memory
// (the buffer's rows are 16-byte aligned when their length is a multiple of four): an ordinary
// store first reads the line it fills, a third more traffic over a profile's worth of buffer.
void StreamRows(const float* scratch, TTraceBlock block) {
    const bool aligned = block.Stride % 4 == 0 &&
                         reinterpret_cast<std::uintptr_t>(block.Data) % 16 == 0 &&
                         block.Samples % 4 == 0;
    for (std::uint32_t u = 0; u < block.Traces; ++u) {
        const float* from = scratch + std::size_t{u} * block.Samples;
        float* to = block.Row(u).data();
        if (!aligned) {
            std::copy(from, from + block.Samples, to);
            continue;
        }
        for (std::uint32_t j = 0; j < block.Samples; j += 4)
            _mm_stream_ps(to + j, _mm_loadu_ps(from + j));
    }
}

// How a pass of per-trace steps gets its rows and where it leaves them.
enum class TPass {
    FromModel,  // the model's rows, processed in scratch memory that stays in the cache, into
                // the buffer
    InPlace,    // the buffer's rows, changed in place
    SumsOnly,   // the model's rows, processed in scratch memory only for the sums
};

// Runs steps over the rows of traces [from, to) of the buffer, whose first row is trace lo,
// block by block; adds what comes out to sums when given.
void RunTraceSteps(const TRadargram& model, std::span<const TRunStep> steps,
                   const TStepContext& base, TPass pass, TTraceBlock buffer, std::uint32_t lo,
                   std::uint32_t from, std::uint32_t to, std::span<double> sums) {
    const bool copy = pass != TPass::InPlace;
    std::vector<float> scratch(copy ? std::size_t{kBlockTraces} * buffer.Samples : 0);
    for (std::uint32_t t = from; t < to; t += kBlockTraces) {
        const TTraceBlock rows{buffer.Data + std::size_t{t} * buffer.Stride, buffer.Stride,
                               std::min(kBlockTraces, to - t), buffer.Samples};
        const TTraceBlock block =
            copy ? TTraceBlock{scratch.data(), buffer.Samples, rows.Traces, rows.Samples} : rows;
        if (copy)
            for (std::uint32_t u = 0; u < block.Traces; ++u) {
                const auto source = model.SampleMatrix().Row(lo + t + u).first(block.Samples);
                std::copy(source.begin(), source.end(), block.Row(u).begin());
            }
        for (const TRunStep& step : steps) {
            TStepContext context = base;
            context.Plan = step.Plan.get();
            context.ColumnMeans = step.Means;
            step.Step.Kind->Run(step.Step.Value, context, block);
        }
        if (!sums.empty()) AddColumnSums(block.Data, block.Stride, block.Traces, sums);
        if (pass == TPass::FromModel) StreamRows(scratch.data(), rows);
    }
    // The streamed stores are seen by the thread that reads the buffer next.
    if (pass == TPass::FromModel) _mm_sfence();
}

class TChainRun {
  public:
    TChainRun(const TRadargram& model, const TProcessingChain& chain,
              const TProcessingProgress& progress, TProcessingCache* cache)
        : model_(model), shape_(ShapeOf(model)), progress_(progress), cache_(cache) {
        base_.SampleCount = shape_.Samples;
        base_.NsPerSample = shape_.NsPerSample;
        for (const TChainStep& step : StepsOn(chain)) {
            const auto plan = step.Kind->Prepare ? step.Kind->Prepare(step.Value, base_) : nullptr;
            steps_.push_back({step, plan, {}, false});
        }
    }

    std::optional<TProcessedTraces> Run(std::uint32_t first, std::uint32_t end) {
        end = std::min(end, shape_.Traces);
        first = std::min(first, end);
        std::uint64_t reach = 0;
        for (const TRunStep& step : steps_)
            if (step.Step.Kind->AcrossTraces) reach += step.Step.Kind->Reach(step.Step.Value);
        const auto lo = static_cast<std::uint32_t>(first - std::min<std::uint64_t>(first, reach));
        const auto hi =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(end + reach, shape_.Traces));

        TProcessedTraces out;
        out.First = first;
        out.Count = end - first;
        out.SampleCount = shape_.Samples;
        out.LeadRows = first - lo;
        const std::size_t values = std::size_t{hi - lo} * shape_.Samples;
        out.Values = cache_ ? cache_->Buffer(values) : TSampleBuffer(values);
        if (values == 0) return out;
        // The matrix's memory is set up on first use; that happens here, not in the helpers.
        model_.SampleMatrix().Row(0);
        const TTraceBlock buffer{out.Values.Data(), shape_.Samples, hi - lo, shape_.Samples};

        // A step that needs the means over the whole profile runs block by block once they are
        // known: when only part of the profile is processed they come from all of it (kept in
        // the cache), and when all of it is, they are added up as the steps before it go by.
        const bool part = lo > 0 || hi < shape_.Traces;
        std::size_t across = 0;
        std::size_t whole = 0;
        for (TRunStep& step : steps_) {
            step.Blockwise = !step.Step.Kind->AcrossTraces;
            step.Means.clear();
            whole += NeedsWholeProfile(step);
            across += step.Step.Kind->AcrossTraces && !NeedsWholeProfile(step);
        }
        // One phase for each pass over the buffer and for each step's means.
        phases_ = static_cast<double>(1 + 2 * across + whole);
        phase_ = 0;
        if (part)
            for (std::size_t k = 0; k < steps_.size(); ++k) {
                if (!NeedsWholeProfile(steps_[k])) continue;
                if (!MeansBefore(k, steps_[k].Means)) return std::nullopt;
                steps_[k].Blockwise = true;
                ++phase_;
            }
        bool copied = false;
        std::size_t i = 0;
        while (true) {
            std::size_t k = i;
            while (k < steps_.size() && steps_[k].Blockwise) ++k;
            std::vector<double> sums;
            if (k < steps_.size() && NeedsWholeProfile(steps_[k])) sums.assign(shape_.Samples, 0.0);
            // Means over the whole profile before anything is in the buffer come from a pass that
            // only reads the model: the steps before them run again in the next pass, which costs
            // less than writing the buffer and reading it back.
            const TPass pass = copied         ? TPass::InPlace
                               : sums.empty() ? TPass::FromModel
                                              : TPass::SumsOnly;
            if (!copied || k > i || !sums.empty()) {
                if (!TraceSteps(std::span(steps_).subspan(i, k - i), pass, buffer, lo, sums))
                    return std::nullopt;
                copied = pass != TPass::SumsOnly;
            }
            ++phase_;
            if (k == steps_.size()) break;
            if (!sums.empty()) {
                for (double& sum : sums) sum /= shape_.Traces;
                steps_[k].Means = std::move(sums);
                steps_[k].Blockwise = true;
                if (pass != TPass::SumsOnly) i = k;
                continue;
            }
            if (!AcrossStep(k, buffer)) return std::nullopt;
            i = k + 1;
        }
        return out;
    }

  private:
    bool Report(double fraction) const {
        return !progress_ || progress_(std::min(1.0, (phase_ + fraction) / phases_));
    }

    static bool NeedsWholeProfile(const TRunStep& step) {
        const TStepKind& kind = *step.Step.Kind;
        return kind.NeedsWholeProfile && kind.NeedsWholeProfile(step.Step.Value);
    }

    // Runs steps over every row of the buffer, in parts over the cores; with sums given (one per
    // sample), adds to them what comes out.
    bool TraceSteps(std::span<const TRunStep> steps, TPass pass, TTraceBlock buffer,
                    std::uint32_t lo, std::vector<double>& sums) {
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        for (std::uint32_t part = 0; part < buffer.Traces; part += kPartTraces) {
            const std::uint32_t partEnd = std::min(buffer.Traces, part + kPartTraces);
            const std::size_t work = std::size_t{partEnd - part} * buffer.Samples;
            const auto threads = static_cast<std::uint32_t>(
                std::clamp<std::size_t>(work / kSamplesPerThread, 1, cores));
            const auto edge = [&](std::uint32_t n) {
                return part +
                       static_cast<std::uint32_t>(std::uint64_t{partEnd - part} * n / threads);
            };
            // Each thread adds up its own sums; they are put together in a fixed order.
            std::vector<std::vector<double>> threadSums(threads - 1);
            {
                std::vector<std::jthread> helpers;
                for (std::uint32_t n = 1; n < threads; ++n)
                    helpers.emplace_back([&, n] {
                        std::vector<double>& own = threadSums[n - 1];
                        if (!sums.empty()) own.assign(sums.size(), 0.0);
                        RunTraceSteps(model_, steps, base_, pass, buffer, lo, edge(n), edge(n + 1),
                                      own);
                    });
                RunTraceSteps(model_, steps, base_, pass, buffer, lo, edge(0), edge(1), sums);
            }
            for (const std::vector<double>& own : threadSums)
                for (std::size_t j = 0; j < own.size(); ++j) sums[j] += own[j];
            if (!Report(static_cast<double>(partEnd) / buffer.Traces)) return false;
        }
        return true;
    }

    bool AcrossStep(std::size_t k, TTraceBlock buffer) {
        const TRunStep& step = steps_[k];
        TStepContext context = base_;
        context.Plan = step.Plan.get();
        step.Step.Kind->Run(step.Step.Value, context, buffer);
        ++phase_;
        return Report(0.0);
    }

    // The mean over all traces, per sample, of what the steps before step k make.
    bool MeansBefore(std::size_t k, std::vector<double>& means) {
        TProcessingChain before;
        for (std::size_t i = 0; i < k; ++i) before.push_back(steps_[i].Step);
        const std::string key = ChainText(before) + "|" + std::to_string(k);
        if (cache_)
            if (auto kept = cache_->Find(key)) {
                means = std::move(*kept);
                return true;
            }
        // Nested background steps find their own means once, not once per part.
        TProcessingCache local;
        TProcessingCache* kept = cache_ ? cache_ : &local;
        means.assign(shape_.Samples, 0.0);
        for (std::uint32_t t = 0; t < shape_.Traces; t += kPartTraces) {
            const std::uint32_t partEnd = std::min(shape_.Traces, t + kPartTraces);
            auto part = TChainRun(model_, before, {}, kept).Run(t, partEnd);
            AddColumnSums(part->Rows(), shape_.Samples, partEnd - t, means);
            kept->Recycle(std::move(*part));
            if (!Report(static_cast<double>(partEnd) / shape_.Traces)) return false;
        }
        for (double& m : means) m /= shape_.Traces;
        if (cache_) cache_->Keep(key, means);
        return true;
    }

    const TRadargram& model_;
    TProfileShape shape_;
    const TProcessingProgress& progress_;
    TProcessingCache* cache_;
    TStepContext base_;
    std::vector<TRunStep> steps_;
    double phases_ = 1;
    double phase_ = 0;
};

}  // namespace

std::optional<std::vector<double>> TProcessingCache::Find(const std::string& key) const {
    const std::lock_guard lock(mutex_);
    const auto it = means_.find(key);
    if (it == means_.end()) return std::nullopt;
    return it->second;
}

void TProcessingCache::Keep(const std::string& key, std::vector<double> means) {
    const std::lock_guard lock(mutex_);
    means_[key] = std::move(means);
}

void TProcessingCache::Clear() {
    const std::lock_guard lock(mutex_);
    means_.clear();
}

void TProcessingCache::Recycle(TProcessedTraces&& traces) {
    const std::lock_guard lock(mutex_);
    if (traces.Values.Size() > spare_.Size()) spare_ = std::move(traces.Values);
}

TSampleBuffer TProcessingCache::Buffer(std::size_t count) {
    {
        const std::lock_guard lock(mutex_);
        if (spare_.Size() >= count && spare_.Data()) return std::move(spare_);
    }
    return TSampleBuffer(count);
}

std::optional<TProcessedTraces> ProcessTraces(const TRadargram& model,
                                              const TProcessingChain& chain, std::uint32_t first,
                                              std::uint32_t end,
                                              const TProcessingProgress& progress,
                                              TProcessingCache* cache) {
    return TChainRun(model, chain, progress, cache).Run(first, end);
}

std::optional<TProcessedTraces> ProcessProfile(const TRadargram& model,
                                               const TProcessingChain& chain,
                                               const TProcessingProgress& progress) {
    return ProcessTraces(model, chain, 0, ShapeOf(model).Traces, progress);
}

}  // namespace trelvanox

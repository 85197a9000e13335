#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>

#include "model/radar_file.h"

namespace trelvanox::test {

// How the n-th operation that changes a file goes wrong.
enum class TFaultMode {
    Fail,   // that operation alone reports failure (a full disk that frees up, a passing error)
    Stop,   // it and every later one report failure without touching anything (a lost device)
    Crash,  // a write stores the whole 512-byte sectors of its first half, then the process
            // "dies": TCrash is thrown, so nothing the code would have done afterwards happens
};

// Thrown by a crashing operation; no production code catches it.
struct TCrash : std::runtime_error {
    TCrash() : std::runtime_error("simulated crash") {}
};

// One count of the operations that change files (WriteAt, Sync, Truncate), shared by every
// double that takes part in a change, and the operation at which the fault comes.
struct TFaultPlan {
    std::uint64_t FaultAt = 0;  // 1-based; 0 never
    TFaultMode Mode = TFaultMode::Fail;

    std::uint64_t Operations = 0;  // counted so far, the faulty ones included
    std::uint64_t Writes = 0;
    std::uint64_t Syncs = 0;
    std::uint64_t Truncates = 0;
    bool Stopped = false;
    const char* FaultedFile = nullptr;  // the name of the double the fault came at
};

// A radar file whose changing operations are counted in a plan and fail as it says; reads pass
// through untouched.
class TFaultyRadarFile final : public TRadarFile {
  public:
    // name tells the faulty operation's file in the plan.
    TFaultyRadarFile(TRadarFile& inner, std::shared_ptr<TFaultPlan> plan, const char* name)
        : inner_(inner), plan_(std::move(plan)), name_(name) {}
    // Owns the file it wraps.
    TFaultyRadarFile(std::unique_ptr<TRadarFile> inner, std::shared_ptr<TFaultPlan> plan,
                     const char* name)
        : owned_(std::move(inner)), inner_(*owned_), plan_(std::move(plan)), name_(name) {}

    TFileStamp Stamp() const override { return inner_.Stamp(); }
    bool ReadAt(std::uint64_t offset, TReadSlices slices) override {
        return inner_.ReadAt(offset, slices);
    }
    bool WriteAt(std::uint64_t offset, TWriteSlices slices) override;
    bool Sync() override;
    bool Truncate(std::uint64_t size) override;

  private:
    // Whether the operation about to run may run; throws TCrash when it crashes, after
    // tear (if given) stored what reached the disk.
    bool Allow(std::uint64_t& kind, const std::function<void()>& tear = {});

    std::unique_ptr<TRadarFile> owned_;
    TRadarFile& inner_;
    std::shared_ptr<TFaultPlan> plan_;
    const char* name_;
};

}  // namespace trelvanox::test

#include "faulty_radar_file.h"

#include <functional>
#include <vector>

namespace trelvanox::test {

namespace {
constexpr std::uint64_t kSector = 512;
}  // namespace

bool TFaultyRadarFile::Allow(std::uint64_t& kind, const std::function<void()>& tear) {
    TFaultPlan& plan = *plan_;
    ++plan.Operations;
    ++kind;
    if (plan.Stopped) return false;
    if (plan.FaultAt == 0 || plan.Operations != plan.FaultAt) return true;
    plan.FaultedFile = name_;
    switch (plan.Mode) {
        case TFaultMode::Fail:
            return false;
        case TFaultMode::Stop:
            plan.Stopped = true;
            return false;
        case TFaultMode::Crash:
            plan.Stopped = true;
            if (tear) tear();
            throw TCrash();
    }
    return false;
}

bool TFaultyRadarFile::WriteAt(std::uint64_t offset, TWriteSlices slices) {
    // A torn write: the whole sectors of its first half, as a write cut short by a crash or a
    // power loss leaves it (the system moves a file's bytes to the disk a page or a sector at a
    // time, never part of one).
    const auto tear = [&] {
        std::vector<std::byte> bytes;
        for (const auto& slice : slices) bytes.insert(bytes.end(), slice.begin(), slice.end());
        const std::uint64_t end = offset + bytes.size() / 2;
        const std::uint64_t kept = end - end % kSector > offset ? end - end % kSector - offset : 0;
        const std::span<const std::byte> half =
            std::span(bytes).first(static_cast<std::size_t>(kept));
        if (!half.empty()) inner_.WriteAt(offset, std::span(&half, 1));
    };
    return Allow(plan_->Writes, tear) && inner_.WriteAt(offset, slices);
}

bool TFaultyRadarFile::Sync() {
    return Allow(plan_->Syncs) && inner_.Sync();
}

bool TFaultyRadarFile::Truncate(std::uint64_t size) {
    return Allow(plan_->Truncates) && inner_.Truncate(size);
}

}  // namespace trelvanox::test

#include "document/write_journal.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace trelvanox {

namespace {

constexpr std::array<char, 8> kMagic = {'T', 'R', 'V', 'X', 'J', 'R', 'N', '1'};
constexpr std::uint32_t kVersion = 1;
constexpr std::uint64_t kHeaderSize = 256;
constexpr std::size_t kDescriptionSize = 160;
constexpr std::uint64_t kRecordHeaderSize = 16;
// A change is compared and journalled in pieces of this size, so no record is larger and
// memory stays small whatever the file's size.
constexpr std::uint64_t kPiece = std::uint64_t{1} << 20;
// Equal runs shorter than this inside a change do not split its record: a record costs its
// 16-byte header, and a few equal bytes cost less than that.
constexpr std::uint64_t kMergeGap = 32;
constexpr std::size_t kJournalBuffer = std::size_t{4} << 20;

#pragma pack(push, 1)
struct TJournalHeader {
    std::array<char, 8> Magic;
    std::uint32_t Version;
    std::uint32_t Complete;
    std::uint64_t Device;
    std::uint64_t Inode;
    std::uint64_t OldSize;
    std::int64_t OldModifiedNs;
    std::uint64_t NewSize;
    std::uint64_t RecordCount;
    std::uint64_t ChangedBytes;
    std::int64_t Time;
    std::array<char, kDescriptionSize> Description;
    std::uint32_t LayoutBefore;
    std::uint32_t LayoutAfter;
    std::array<char, kHeaderSize - 88 - kDescriptionSize> Reserved;
};
struct TRecordHeader {
    std::uint64_t Offset;
    std::uint64_t Length;
};
#pragma pack(pop)
static_assert(sizeof(TJournalHeader) == kHeaderSize);
static_assert(sizeof(TRecordHeader) == kRecordHeaderSize);

template <typename T>
std::span<std::byte> Bytes(T& value) {
    return std::as_writable_bytes(std::span(&value, 1));
}

bool Read(TRadarFile& file, std::uint64_t offset, std::span<std::byte> bytes) {
    return bytes.empty() || file.ReadAt(offset, std::span(&bytes, 1));
}

bool Write(TRadarFile& file, std::uint64_t offset, std::span<const std::byte> bytes) {
    return bytes.empty() || file.WriteAt(offset, std::span(&bytes, 1));
}

TJournalHeader HeaderOf(const TJournalInfo& info, bool complete) {
    TJournalHeader h{};
    h.Magic = kMagic;
    h.Version = kVersion;
    h.Complete = complete ? 1 : 0;
    h.Device = info.Before.Device;
    h.Inode = info.Before.Inode;
    h.OldSize = info.Before.Size;
    h.OldModifiedNs = info.Before.ModifiedNs;
    h.NewSize = info.NewSize;
    h.RecordCount = info.RecordCount;
    h.ChangedBytes = info.ChangedBytes;
    h.Time = info.Time;
    h.LayoutBefore = info.LayoutBefore == TRadarLayout::Gpr ? 0 : 1;
    h.LayoutAfter = info.LayoutAfter == TRadarLayout::Gpr ? 0 : 1;
    // Cut at a character boundary, so the stored text stays valid UTF-8.
    std::size_t length = std::min(info.Description.size(), kDescriptionSize);
    while (length > 0 && length < info.Description.size() &&
           (static_cast<unsigned char>(info.Description[length]) & 0xC0) == 0x80)
        --length;
    std::memcpy(h.Description.data(), info.Description.data(), length);
    return h;
}

// Stands in for the target during a change: reads go to the target, writes are compared with
// the target's bytes and what differs goes into the journal.
class TChangeRecorder final : public TRadarFile {
  public:
    TChangeRecorder(TRadarFile& target, TRadarFile& journal, TJournalInfo& info)
        : target_(target), journal_(journal), info_(info) {}

    TFileStamp Stamp() const override { return target_.Stamp(); }
    bool ReadAt(std::uint64_t offset, TReadSlices slices) override {
        return target_.ReadAt(offset, slices);
    }
    bool WriteAt(std::uint64_t offset, TWriteSlices slices) override {
        for (const auto& slice : slices) {
            for (std::uint64_t done = 0; done < slice.size();) {
                const std::uint64_t length = std::min<std::uint64_t>(kPiece, slice.size() - done);
                if (!Compare(offset + done, slice.subspan(done, length))) return false;
                done += length;
            }
            offset += slice.size();
            info_.NewSize = std::max(info_.NewSize, offset);
        }
        return true;
    }
    // Nothing reaches the target, so there is nothing to sync yet.
    bool Sync() override { return true; }
    bool Truncate(std::uint64_t) override { return false; }

    bool Flush() {
        if (!Write(journal_, position_, std::as_bytes(std::span(buffer_)))) return false;
        position_ += buffer_.size();
        buffer_.clear();
        return true;
    }

  private:
    bool Compare(std::uint64_t offset, std::span<const std::byte> next) {
        const std::uint64_t oldSize = info_.Before.Size;
        const std::size_t known =
            offset >= oldSize ? 0
                              : static_cast<std::size_t>(std::min(next.size(), oldSize - offset));
        old_.assign(next.size(), std::byte{0});
        if (!Read(target_, offset, std::span(old_).first(known))) return false;
        if (known == next.size() && std::memcmp(old_.data(), next.data(), known) == 0) return true;

        // Bytes beyond the old end always count as changed: the journal must restore the length.
        const auto differs = [&](std::size_t i) { return i >= known || old_[i] != next[i]; };
        std::size_t i = 0;
        while (i < next.size()) {
            while (i < next.size() && !differs(i)) ++i;
            if (i == next.size()) break;
            const std::size_t start = i;
            std::size_t end = i + 1;
            for (std::size_t j = end; j < next.size() && j - end < kMergeGap; ++j)
                if (differs(j)) end = j + 1;
            if (!Append(offset + start, std::span(old_).subspan(start, end - start),
                        next.subspan(start, end - start)))
                return false;
            i = end;
        }
        return true;
    }

    bool Append(std::uint64_t offset, std::span<const std::byte> oldBytes,
                std::span<const std::byte> newBytes) {
        const TRecordHeader record{offset, oldBytes.size()};
        const auto header = std::as_bytes(std::span(&record, 1));
        if (buffer_.size() + header.size() + 2 * oldBytes.size() > kJournalBuffer && !Flush())
            return false;
        buffer_.insert(buffer_.end(), header.begin(), header.end());
        buffer_.insert(buffer_.end(), oldBytes.begin(), oldBytes.end());
        buffer_.insert(buffer_.end(), newBytes.begin(), newBytes.end());
        ++info_.RecordCount;
        info_.ChangedBytes += oldBytes.size();
        return true;
    }

    TRadarFile& target_;
    TRadarFile& journal_;
    TJournalInfo& info_;
    std::vector<std::byte> old_;
    std::vector<std::byte> buffer_;
    std::uint64_t position_ = kHeaderSize;
};

// Calls visit(record, position of its old bytes) for every record, in order; false when the
// journal cannot be read or visit says so.
template <typename Visit>
bool ForEachRecord(TRadarFile& journal, const TJournalInfo& info, Visit visit) {
    std::uint64_t position = kHeaderSize;
    for (std::uint64_t r = 0; r < info.RecordCount; ++r) {
        TRecordHeader record{};
        if (!Read(journal, position, Bytes(record))) return false;
        if (record.Length > kPiece) return false;  // never written so: not our journal
        if (!visit(record, position + kRecordHeaderSize)) return false;
        position += kRecordHeaderSize + 2 * record.Length;
    }
    return true;
}

std::uint64_t SizeOf(const TJournalInfo& info, TJournalSide side) {
    return side == TJournalSide::Old ? info.Before.Size : info.NewSize;
}

}  // namespace

std::optional<TJournalInfo> RecordChange(TRadarFile& target, TRadarFile& journal,
                                         const TChangeWriter& write, TJournalInfo label) {
    TJournalInfo info = std::move(label);
    info.Before = target.Stamp();
    info.NewSize = info.Before.Size;
    info.RecordCount = 0;
    info.ChangedBytes = 0;
    const TJournalHeader incomplete = HeaderOf(info, false);
    if (!Write(journal, 0, std::as_bytes(std::span(&incomplete, 1)))) return std::nullopt;

    TChangeRecorder recorder(target, journal, info);
    if (!write(recorder) || !recorder.Flush() || !journal.Sync()) return std::nullopt;
    const TJournalHeader complete = HeaderOf(info, true);
    if (!Write(journal, 0, std::as_bytes(std::span(&complete, 1))) || !journal.Sync())
        return std::nullopt;
    return info;
}

std::optional<TJournalInfo> ReadJournalInfo(TRadarFile& journal) {
    TJournalHeader h{};
    if (!Read(journal, 0, Bytes(h)) || h.Magic != kMagic || h.Version != kVersion ||
        h.Complete != 1)
        return std::nullopt;
    TJournalInfo info;
    info.Before = {h.OldSize, h.OldModifiedNs, h.Device, h.Inode};
    info.NewSize = h.NewSize;
    info.RecordCount = h.RecordCount;
    info.ChangedBytes = h.ChangedBytes;
    info.Time = h.Time;
    info.LayoutBefore = h.LayoutBefore == 0 ? TRadarLayout::Gpr : TRadarLayout::Gpr2;
    info.LayoutAfter = h.LayoutAfter == 0 ? TRadarLayout::Gpr : TRadarLayout::Gpr2;
    const auto end = std::find(h.Description.begin(), h.Description.end(), '\0');
    info.Description.assign(h.Description.begin(), end);
    return info;
}

bool ApplyJournal(TRadarFile& target, TRadarFile& journal, TJournalSide side) {
    const auto info = ReadJournalInfo(journal);
    if (!info) return false;
    std::vector<std::byte> bytes;
    const bool written =
        ForEachRecord(journal, *info, [&](const TRecordHeader& r, std::uint64_t at) {
            bytes.resize(r.Length);
            const std::uint64_t from = side == TJournalSide::Old ? at : at + r.Length;
            return Read(journal, from, bytes) && Write(target, r.Offset, bytes);
        });
    if (!written) return false;
    const std::uint64_t size = SizeOf(*info, side);
    if (target.Stamp().Size != size && !target.Truncate(size)) return false;
    return target.Sync();
}

TJournalMatch CheckJournal(TRadarFile& target, TRadarFile& journal) {
    const auto info = ReadJournalInfo(journal);
    if (!info) return TJournalMatch::Unreadable;
    const TFileStamp now = target.Stamp();
    const auto [low, high] = std::minmax(info->Before.Size, info->NewSize);
    if (now.Device != info->Before.Device || now.Inode != info->Before.Inode || now.Size < low ||
        now.Size > high)
        return TJournalMatch::OtherFile;

    std::vector<std::byte> sides;
    std::vector<std::byte> current;
    TJournalMatch match = TJournalMatch::Matches;
    const bool read = ForEachRecord(journal, *info, [&](const TRecordHeader& r, std::uint64_t at) {
        if (r.Offset >= now.Size) return true;
        const auto length = static_cast<std::size_t>(std::min(r.Length, now.Size - r.Offset));
        sides.resize(2 * r.Length);
        current.resize(length);
        if (!Read(journal, at, sides) || !Read(target, r.Offset, current)) return false;
        for (std::size_t i = 0; i < length; ++i) {
            if (current[i] != sides[i] && current[i] != sides[r.Length + i]) {
                match = TJournalMatch::ChangedSince;
                return false;
            }
        }
        return true;
    });
    if (match != TJournalMatch::Matches) return match;
    return read ? TJournalMatch::Matches : TJournalMatch::Unreadable;
}

bool HoldsSide(TRadarFile& target, TRadarFile& journal, TJournalSide side) {
    const auto info = ReadJournalInfo(journal);
    if (!info) return false;
    const std::uint64_t size = SizeOf(*info, side);
    if (target.Stamp().Size != size) return false;
    std::vector<std::byte> expected;
    std::vector<std::byte> current;
    return ForEachRecord(journal, *info, [&](const TRecordHeader& r, std::uint64_t at) {
        if (r.Offset >= size) return true;
        const auto length = static_cast<std::size_t>(std::min(r.Length, size - r.Offset));
        expected.resize(length);
        current.resize(length);
        const std::uint64_t from = side == TJournalSide::Old ? at : at + r.Length;
        return Read(journal, from, expected) && Read(target, r.Offset, current) &&
               expected == current;
    });
}

}  // namespace trelvanox

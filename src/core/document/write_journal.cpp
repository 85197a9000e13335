#include "document/write_journal.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace trelvanox {

namespace {

constexpr std::array<char, 8> kMagic = {'T', 'R', 'V', 'X', 'J', 'R', 'N', '1'};
constexpr std::uint32_t kVersion = 2;
constexpr std::uint32_t kFirstVersion = 1;
constexpr std::uint64_t kHeaderSize = 256;
constexpr std::uint64_t kHeaderChecked = kHeaderSize - 8;  // the bytes before the checksum
constexpr std::size_t kDescriptionSize = 160;
constexpr std::uint64_t kRecordHeaderSize = 24;
constexpr std::uint64_t kFirstRecordHeaderSize = 16;
// A change is compared and journalled in pieces of this size, so no record is larger and
// memory stays small whatever the file's size.
constexpr std::uint64_t kPiece = std::uint64_t{1} << 20;
// Equal runs shorter than this inside a change do not split its record: a record costs its
// 16-byte header, and a few equal bytes cost less than that.
constexpr std::uint64_t kMergeGap = 32;
constexpr std::size_t kJournalBuffer = std::size_t{4} << 20;
// Reads of a file being compared or checked go through a window of this size: the writer hands
// over a batch of traces as hundreds of small slices, and a whole-file change journals one record
// per trace, so a read per slice or record would cost a system call each (600000 for a maximal
// file), more than the comparison itself.
constexpr std::size_t kReadWindow = std::size_t{4} << 20;

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
    std::uint64_t Checksum;  // version 1: zero
};
struct TRecordHeader {
    std::uint64_t Offset;
    std::uint64_t Length;
    std::uint64_t Checksum;  // version 1: absent
};
#pragma pack(pop)
static_assert(sizeof(TJournalHeader) == kHeaderSize);
static_assert(sizeof(TRecordHeader) == kRecordHeaderSize);

std::uint64_t HeaderChecksum(const TJournalHeader& h) {
    return XXH3_64bits(&h, kHeaderChecked);
}

std::uint64_t RecordChecksum(std::uint64_t offset, std::span<const std::byte> oldBytes,
                             std::span<const std::byte> newBytes) {
    XXH3_state_t state;
    XXH3_64bits_reset(&state);
    const std::uint64_t length = oldBytes.size();
    XXH3_64bits_update(&state, &offset, sizeof offset);
    XXH3_64bits_update(&state, &length, sizeof length);
    XXH3_64bits_update(&state, oldBytes.data(), oldBytes.size());
    XXH3_64bits_update(&state, newBytes.data(), newBytes.size());
    return XXH3_64bits_digest(&state);
}

std::uint64_t RecordHeaderSize(std::uint32_t version) {
    return version == kFirstVersion ? kFirstRecordHeaderSize : kRecordHeaderSize;
}

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

// The bytes of a file read ahead in one window, for readers that go through it mostly front to
// back in small steps. The file must not change while the window is in use.
class TReadWindow {
  public:
    // Reads never go beyond end (the file's size), however far ahead they look.
    TReadWindow(TRadarFile& file, std::uint64_t end) : file_(file), end_(end) {}

    // The length bytes at offset, valid until the next call; nothing when they cannot be read.
    const std::byte* Get(std::uint64_t offset, std::size_t length) {
        static constexpr std::byte kNothing{};
        if (length == 0) return &kNothing;
        if (offset >= start_ && offset - start_ <= bytes_.size() &&
            length <= bytes_.size() - (offset - start_))
            return bytes_.data() + (offset - start_);
        const std::uint64_t ahead = offset < end_ ? end_ - offset : 0;
        bytes_.resize(static_cast<std::size_t>(
            std::max<std::uint64_t>(length, std::min<std::uint64_t>(kReadWindow, ahead))));
        start_ = offset;
        if (!Read(file_, offset, bytes_)) {
            bytes_.clear();
            return nullptr;
        }
        return bytes_.data();
    }

  private:
    TRadarFile& file_;
    std::uint64_t end_;
    std::uint64_t start_ = 0;
    std::vector<std::byte> bytes_;
};

// Calls emit(start, end) for every range of bytes in which next differs from old, ranges
// separated by fewer than kMergeGap equal bytes joined, in order; bytes from known on count as
// different (old has only known bytes). Stops and returns false when emit does. The bytes are
// compared eight at a time: a whole-file change differs in nearly every word, an edit in almost
// none.
template <typename Emit>
bool ForEachDifference(const std::byte* old, const std::byte* next, std::size_t known,
                       std::size_t size, Emit emit) {
    bool open = false;
    std::size_t start = 0;
    std::size_t end = 0;
    // Takes the differing bytes first and last (and any between them) into the current range.
    const auto add = [&](std::size_t first, std::size_t last) {
        if (open && first - end < kMergeGap) {
            end = last + 1;
            return true;
        }
        if (open && !emit(start, end)) return false;
        open = true;
        start = first;
        end = last + 1;
        return true;
    };
    std::size_t i = 0;
    for (; i + 8 <= known; i += 8) {
        std::uint64_t a = 0;
        std::uint64_t b = 0;
        std::memcpy(&a, old + i, 8);
        std::memcpy(&b, next + i, 8);
        const std::uint64_t x = a ^ b;
        if (x == 0) continue;
        std::size_t first = i;
        std::size_t last = i + 7;
        if constexpr (std::endian::native == std::endian::little) {
            first += static_cast<std::size_t>(std::countr_zero(x)) / 8;
            last -= static_cast<std::size_t>(std::countl_zero(x)) / 8;
        } else {
            while (old[first] == next[first]) ++first;
            while (old[last] == next[last]) --last;
        }
        if (!add(first, last)) return false;
    }
    for (; i < known; ++i)
        if (old[i] != next[i] && !add(i, i)) return false;
    if (known < size && !add(known, size - 1)) return false;
    return !open || emit(start, end);
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
    h.Checksum = HeaderChecksum(h);
    return h;
}

// Stands in for the target during a change: reads go to the target, writes are compared with
// the target's bytes and what differs goes into the journal.
class TChangeRecorder final : public TRadarFile {
  public:
    TChangeRecorder(TRadarFile& target, TRadarFile& journal, TJournalInfo& info,
                    const TByteProgress& progress)
        : target_(target),
          journal_(journal),
          info_(info),
          progress_(progress),
          window_(target, info.Before.Size) {}

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
                handed_ += length;
            }
            offset += slice.size();
            info_.NewSize = std::max(info_.NewSize, offset);
        }
        // Once per transfer, not per slice: a batch of traces is hundreds of slices.
        return !progress_ || progress_(std::min(handed_, info_.Before.Size), info_.Before.Size);
    }
    // Nothing reaches the target, so there is nothing to sync yet.
    bool Sync() override { return true; }
    bool Truncate(std::uint64_t) override { return false; }

    bool Flush() {
        if (!Write(journal_, position_, std::as_bytes(std::span(buffer_)))) {
            journalFailed_ = true;
            return false;
        }
        position_ += buffer_.size();
        buffer_.clear();
        return true;
    }

    bool JournalFailed() const { return journalFailed_; }

  private:
    bool Compare(std::uint64_t offset, std::span<const std::byte> next) {
        const std::uint64_t oldSize = info_.Before.Size;
        const std::size_t known =
            offset >= oldSize ? 0
                              : static_cast<std::size_t>(std::min(next.size(), oldSize - offset));
        const std::byte* old = known > 0 ? window_.Get(offset, known) : nullptr;
        if (known > 0 && !old) return false;
        if (known == next.size() && std::memcmp(old, next.data(), known) == 0) return true;
        // Bytes beyond the old end always count as changed (the journal must restore the
        // length); their old side reads as zero.
        if (known < next.size()) {
            old_.assign(next.size(), std::byte{0});
            if (known > 0) std::memcpy(old_.data(), old, known);
            old = old_.data();
        }
        return ForEachDifference(
            old, next.data(), known, next.size(), [&](std::size_t start, std::size_t end) {
                return Append(offset + start, std::span(old + start, end - start),
                              next.subspan(start, end - start));
            });
    }

    bool Append(std::uint64_t offset, std::span<const std::byte> oldBytes,
                std::span<const std::byte> newBytes) {
        const TRecordHeader record{offset, oldBytes.size(),
                                   RecordChecksum(offset, oldBytes, newBytes)};
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
    const TByteProgress& progress_;
    std::uint64_t handed_ = 0;  // bytes the writer handed over so far
    TReadWindow window_;
    std::vector<std::byte> old_;  // the old side of a write beyond the old end
    std::vector<std::byte> buffer_;
    std::uint64_t position_ = kHeaderSize;
    bool journalFailed_ = false;
};

// Calls visit(record, its old bytes, its new bytes) for every record, in order; false when the
// journal cannot be read, a record is not what the journal promises, or visit says so. The
// bytes are valid during the call. readFailed (when given) tells a read that failed apart.
template <typename Visit>
bool ForEachRecord(TRadarFile& journal, const TJournalInfo& info, Visit visit,
                   bool* readFailed = nullptr) {
    TReadWindow window(journal, journal.Stamp().Size);
    const std::uint64_t headerSize = RecordHeaderSize(info.Version);
    const auto unread = [readFailed] {
        if (readFailed) *readFailed = true;
        return false;
    };
    std::uint64_t position = kHeaderSize;
    for (std::uint64_t r = 0; r < info.RecordCount; ++r) {
        TRecordHeader record{};
        const std::byte* header = window.Get(position, static_cast<std::size_t>(headerSize));
        if (!header) return unread();
        std::memcpy(&record, header, static_cast<std::size_t>(headerSize));
        if (record.Length == 0 || record.Length > kPiece) return false;  // never written so
        const auto length = static_cast<std::size_t>(record.Length);
        const std::byte* sides = window.Get(position + headerSize, 2 * length);
        if (!sides) return unread();
        const std::span oldBytes(sides, length);
        const std::span newBytes(sides + length, length);
        if (info.Version != kFirstVersion &&
            record.Checksum != RecordChecksum(record.Offset, oldBytes, newBytes))
            return false;
        if (!visit(record, oldBytes, newBytes)) return false;
        position += headerSize + 2 * record.Length;
    }
    return true;
}

// The header of a journal as it stands on the disk, checked in itself; what is wrong otherwise.
TJournalState ReadHeader(TRadarFile& journal, TJournalInfo& info) {
    TJournalHeader h{};
    if (journal.Stamp().Size < kHeaderSize) return TJournalState::Damaged;
    if (!Read(journal, 0, Bytes(h))) return TJournalState::Unreadable;
    if (h.Magic != kMagic || (h.Version != kVersion && h.Version != kFirstVersion))
        return TJournalState::Damaged;
    if (h.Version != kFirstVersion && h.Checksum != HeaderChecksum(h))
        return TJournalState::Damaged;
    if (h.Complete != 1)
        return h.Complete == 0 ? TJournalState::Incomplete : TJournalState::Damaged;
    if (h.LayoutBefore > 1 || h.LayoutAfter > 1) return TJournalState::Damaged;
    info = {};
    info.Version = h.Version;
    info.Before = {h.OldSize, h.OldModifiedNs, h.Device, h.Inode};
    info.NewSize = h.NewSize;
    info.RecordCount = h.RecordCount;
    info.ChangedBytes = h.ChangedBytes;
    info.Time = h.Time;
    info.LayoutBefore = h.LayoutBefore == 0 ? TRadarLayout::Gpr : TRadarLayout::Gpr2;
    info.LayoutAfter = h.LayoutAfter == 0 ? TRadarLayout::Gpr : TRadarLayout::Gpr2;
    const auto end = std::find(h.Description.begin(), h.Description.end(), '\0');
    info.Description.assign(h.Description.begin(), end);
    // The records' count and sizes must fill the journal exactly: no record cut off, none
    // hidden after the last. Counted with overflow in mind, as the fields may be anything.
    const std::uint64_t length = journal.Stamp().Size - kHeaderSize;
    const std::uint64_t perRecord = RecordHeaderSize(h.Version);
    if (h.RecordCount > length / perRecord || h.ChangedBytes > length / 2 ||
        h.RecordCount * perRecord + 2 * h.ChangedBytes != length)
        return TJournalState::Damaged;
    return TJournalState::Valid;
}

// Writes records' bytes into the target, joining records a few bytes apart into one write: the
// bytes between them are taken from the target itself, so writing them back changes nothing,
// and a change of every trace goes out in a few large writes instead of one per trace.
class TJoinedWriter {
  public:
    explicit TJoinedWriter(TRadarFile& target)
        : target_(target), size_(target.Stamp().Size), between_(target, size_) {}

    bool Add(std::uint64_t offset, std::span<const std::byte> bytes) {
        const std::uint64_t end = start_ + joined_.size();
        const bool joins = !joined_.empty() && offset >= end && offset - end <= kJoinGap &&
                           offset <= size_ &&
                           joined_.size() + (offset - end) + bytes.size() <= kJoinLimit;
        if (joins) {
            const auto gap = static_cast<std::size_t>(offset - end);
            const std::byte* kept = between_.Get(end, gap);
            if (!kept) return false;
            joined_.insert(joined_.end(), kept, kept + gap);
        } else {
            if (!Flush()) return false;
            start_ = offset;
        }
        joined_.insert(joined_.end(), bytes.begin(), bytes.end());
        return true;
    }

    bool Flush() {
        const bool written = Write(target_, start_, joined_);
        joined_.clear();
        return written;
    }

  private:
    static constexpr std::uint64_t kJoinGap = 64;
    static constexpr std::size_t kJoinLimit = std::size_t{4} << 20;

    TRadarFile& target_;
    std::uint64_t size_;
    TReadWindow between_;
    std::uint64_t start_ = 0;
    std::vector<std::byte> joined_;
};

std::uint64_t SizeOf(const TJournalInfo& info, TJournalSide side) {
    return side == TJournalSide::Old ? info.Before.Size : info.NewSize;
}

}  // namespace

std::optional<TJournalInfo> RecordChange(TRadarFile& target, TRadarFile& journal,
                                         const TChangeWriter& write, TJournalInfo label,
                                         bool* journalFailed, const TByteProgress& progress) {
    const auto fail = [journalFailed](bool journalsFault) {
        if (journalFailed) *journalFailed = journalsFault;
        return std::nullopt;
    };
    TJournalInfo info = std::move(label);
    info.Before = target.Stamp();
    info.NewSize = info.Before.Size;
    info.RecordCount = 0;
    info.ChangedBytes = 0;
    const TJournalHeader incomplete = HeaderOf(info, false);
    if (!Write(journal, 0, std::as_bytes(std::span(&incomplete, 1)))) return fail(true);

    TChangeRecorder recorder(target, journal, info, progress);
    if (!write(recorder)) return fail(recorder.JournalFailed());
    if (!recorder.Flush() || !journal.Sync()) return fail(true);
    const TJournalHeader complete = HeaderOf(info, true);
    if (!Write(journal, 0, std::as_bytes(std::span(&complete, 1))) || !journal.Sync())
        return fail(true);
    if (journalFailed) *journalFailed = false;
    return info;
}

std::optional<TJournalInfo> ReadJournalInfo(TRadarFile& journal) {
    TJournalInfo info;
    if (ReadHeader(journal, info) != TJournalState::Valid) return std::nullopt;
    return info;
}

TJournalState VerifyJournal(TRadarFile& journal, TJournalInfo* verified) {
    TJournalInfo info;
    if (const TJournalState header = ReadHeader(journal, info); header != TJournalState::Valid)
        return header;
    // Plain values, not a structured binding: the lambda below captures them.
    const std::uint64_t low = std::min(info.Before.Size, info.NewSize);
    const std::uint64_t high = std::max(info.Before.Size, info.NewSize);
    std::uint64_t end = 0;  // of the record before
    std::uint64_t changed = 0;
    std::uint64_t covered = 0;  // bytes between the two sizes that records hold
    bool readFailed = false;
    const bool sound = ForEachRecord(
        journal, info,
        [&](const TRecordHeader& r, std::span<const std::byte>, std::span<const std::byte>) {
            if (r.Offset < end || r.Offset > high || r.Length > high - r.Offset) return false;
            end = r.Offset + r.Length;
            changed += r.Length;
            if (end > low) covered += end - std::max(r.Offset, low);
            return true;
        },
        &readFailed);
    if (readFailed) return TJournalState::Unreadable;
    // Every byte between the sizes is journalled: the side that has it gets it back exactly,
    // and a size that no record reaches cannot come from a flipped bit.
    if (!sound || changed != info.ChangedBytes || covered != high - low)
        return TJournalState::Damaged;
    if (verified) *verified = std::move(info);
    return TJournalState::Valid;
}

bool ApplyJournal(TRadarFile& target, TRadarFile& journal, TJournalSide side, TJournalState* state,
                  const TByteProgress& progress) {
    TJournalInfo info;
    const TJournalState verified = VerifyJournal(journal, &info);
    if (state) *state = verified;
    if (verified != TJournalState::Valid) return false;
    const std::uint64_t size = SizeOf(info, side);
    // Going back to a smaller size cuts first: nothing is ever written beyond the size of the
    // side being restored, so a full disk cannot stop the way back.
    if (target.Stamp().Size > size && !target.Truncate(size)) return false;
    TJoinedWriter writer(target);
    bool readFailed = false;
    bool stopped = false;
    std::uint64_t done = 0;
    const bool written = ForEachRecord(
        journal, info,
        [&](const TRecordHeader& r, std::span<const std::byte> o, std::span<const std::byte> n) {
            done += r.Length;
            if (progress && !progress(done, info.ChangedBytes)) {
                stopped = true;
                return false;
            }
            if (r.Offset >= size) return true;
            const auto length = static_cast<std::size_t>(std::min(r.Length, size - r.Offset));
            return writer.Add(r.Offset, (side == TJournalSide::Old ? o : n).first(length));
        },
        &readFailed);
    if (stopped) {
        writer.Flush();
        return false;
    }
    if (!written || !writer.Flush()) {
        // Verified a moment ago: a journal that fails now was changed or failed meanwhile.
        if (state && !written)
            *state = readFailed ? TJournalState::Unreadable : TJournalState::Damaged;
        return false;
    }
    if (target.Stamp().Size != size && !target.Truncate(size)) return false;
    return target.Sync();
}

TJournalMatch CheckJournal(TRadarFile& target, TRadarFile& journal) {
    TJournalInfo info;
    if (VerifyJournal(journal, &info) != TJournalState::Valid) return TJournalMatch::Unreadable;
    const TFileStamp now = target.Stamp();
    const auto [low, high] = std::minmax(info.Before.Size, info.NewSize);
    if (now.Device != info.Before.Device || now.Inode != info.Before.Inode || now.Size < low ||
        now.Size > high)
        return TJournalMatch::OtherFile;

    TReadWindow current(target, now.Size);
    TJournalMatch match = TJournalMatch::Matches;
    const bool read = ForEachRecord(
        journal, info,
        [&](const TRecordHeader& r, std::span<const std::byte> o, std::span<const std::byte> n) {
            if (r.Offset >= now.Size) return true;
            const auto length = static_cast<std::size_t>(std::min(r.Length, now.Size - r.Offset));
            const std::byte* bytes = current.Get(r.Offset, length);
            if (!bytes) return false;
            for (std::size_t i = 0; i < length; ++i) {
                if (bytes[i] != o[i] && bytes[i] != n[i]) {
                    match = TJournalMatch::ChangedSince;
                    return false;
                }
            }
            return true;
        });
    if (match != TJournalMatch::Matches) return match;
    return read ? TJournalMatch::Matches : TJournalMatch::Unreadable;
}

TJournalMatch MatchSide(TRadarFile& target, TRadarFile& journal, TJournalSide side,
                        const TByteProgress& progress) {
    TJournalInfo info;
    if (ReadHeader(journal, info) != TJournalState::Valid) return TJournalMatch::Unreadable;
    const std::uint64_t size = SizeOf(info, side);
    if (target.Stamp().Size != size) return TJournalMatch::OtherFile;
    TReadWindow current(target, size);
    TJournalMatch match = TJournalMatch::Matches;
    std::uint64_t done = 0;
    const bool read = ForEachRecord(
        journal, info,
        [&](const TRecordHeader& r, std::span<const std::byte> o, std::span<const std::byte> n) {
            done += r.Length;
            if (progress && !progress(done, info.ChangedBytes)) return false;
            if (r.Offset >= size) return true;
            const auto length = static_cast<std::size_t>(std::min(r.Length, size - r.Offset));
            const std::byte* bytes = current.Get(r.Offset, length);
            if (!bytes) return false;
            const std::byte* expected = (side == TJournalSide::Old ? o : n).data();
            if (std::memcmp(bytes, expected, length) == 0) return true;
            match = TJournalMatch::ChangedSince;
            return false;
        });
    if (match != TJournalMatch::Matches) return match;
    return read ? TJournalMatch::Matches : TJournalMatch::Unreadable;
}

bool HoldsSide(TRadarFile& target, TRadarFile& journal, TJournalSide side) {
    return MatchSide(target, journal, side) == TJournalMatch::Matches;
}

}  // namespace trelvanox

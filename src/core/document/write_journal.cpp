#include "document/write_journal.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstring>
#include <vector>

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace trelvanox {

namespace {

constexpr std::array<char, 8> kMagic = {'T', 'R', 'V', 'X', 'J', 'R', 'N', '1'};
constexpr std::uint32_t kVersion = 3;
constexpr std::uint32_t kSecondVersion = 2;
constexpr std::uint32_t kFirstVersion = 1;
constexpr std::uint64_t kHeaderSize = 256;
constexpr std::uint64_t kHeaderChecked = kHeaderSize - 8;  // the bytes before the checksum
constexpr std::size_t kDescriptionSize = 152;
constexpr std::size_t kOldDescriptionSize = 160;  // versions 1 and 2
constexpr std::uint64_t kRecordHeaderSize = 24;
constexpr std::uint64_t kFirstRecordHeaderSize = 16;
constexpr std::uint64_t kChecksumSize = 8;
// The new side's segments end at multiples of this: a sector, so that a write torn where a disk
// or the page cache may tear it leaves every segment wholly old or wholly new.
constexpr std::uint32_t kBlock = 512;
// A change is compared and journalled in pieces of this size, so no record is larger and
// memory stays small whatever the file's size.
constexpr std::uint64_t kPiece = std::uint64_t{1} << 20;
// Equal runs shorter than this inside a change do not split its record: a record costs its
// header and a write of its own, and a few equal bytes cost less than that. Runs that the
// writer hands over in separate slices (a trace's header between its neighbours' samples) are
// joined too, so a whole-file change goes out in a few large records.
constexpr std::uint64_t kMergeGap = 64;
constexpr std::size_t kJournalBuffer = std::size_t{4} << 20;
// Records this large are written on their own instead of through the buffer.
constexpr std::uint64_t kDirectRecord = std::uint64_t{256} << 10;
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
    std::uint32_t NewSideKept;  // versions 1 and 2: the description's last bytes
    std::uint32_t Block;        // likewise
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
static_assert(offsetof(TJournalHeader, Description) + kOldDescriptionSize ==
              offsetof(TJournalHeader, LayoutBefore));

std::uint64_t HeaderChecksum(const TJournalHeader& h) {
    return XXH3_64bits(&h, kHeaderChecked);
}

// Over the record's offset and length and the rest of the record as it stands in the journal:
// the old bytes and the new side, as bytes or as checksums.
std::uint64_t RecordChecksum(std::uint64_t offset, std::span<const std::byte> oldBytes,
                             std::span<const std::byte> newSide) {
    XXH3_state_t state;
    XXH3_64bits_reset(&state);
    const std::uint64_t length = oldBytes.size();
    XXH3_64bits_update(&state, &offset, sizeof offset);
    XXH3_64bits_update(&state, &length, sizeof length);
    XXH3_64bits_update(&state, oldBytes.data(), oldBytes.size());
    XXH3_64bits_update(&state, newSide.data(), newSide.size());
    return XXH3_64bits_digest(&state);
}

// Calls visit(start, end) for the segments of a range, in order: they end at every multiple of
// block and at the old size.
template <typename Visit>
void ForEachSegment(std::uint64_t offset, std::uint64_t length, std::uint64_t oldSize,
                    std::uint64_t block, Visit visit) {
    const std::uint64_t end = offset + length;
    for (std::uint64_t at = offset; at < end;) {
        std::uint64_t next = (at / block + 1) * block;
        if (at < oldSize && oldSize < next) next = oldSize;
        next = std::min(next, end);
        visit(at, next);
        at = next;
    }
}

std::uint64_t SegmentCount(std::uint64_t offset, std::uint64_t length, std::uint64_t oldSize,
                           std::uint64_t block) {
    if (length == 0) return 0;
    const std::uint64_t end = offset + length;
    std::uint64_t count = (end - 1) / block - offset / block + 1;
    if (offset < oldSize && oldSize < end && oldSize % block != 0) ++count;
    return count;
}

std::uint64_t SegmentChecksum(const std::byte* bytes, std::uint64_t length) {
    return XXH3_64bits(bytes, static_cast<std::size_t>(length));
}

std::uint64_t ChecksumAt(std::span<const std::byte> checksums, std::uint64_t index) {
    std::uint64_t value = 0;
    std::memcpy(&value, checksums.data() + index * kChecksumSize, kChecksumSize);
    return value;
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
    h.NewSideKept = info.NewSideKept ? 1 : 0;
    h.Block = kBlock;
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

// Writes a journal's records through a buffer, from just after its header on.
class TRecordWriter {
  public:
    TRecordWriter(TRadarFile& journal, TJournalInfo& info) : journal_(journal), info_(info) {}

    // newSide: the new bytes, or the checksums of their segments, as the journal keeps them.
    bool Append(std::uint64_t offset, std::span<const std::byte> oldBytes,
                std::span<const std::byte> newSide) {
        const TRecordHeader record{offset, oldBytes.size(),
                                   RecordChecksum(offset, oldBytes, newSide)};
        const auto header = std::as_bytes(std::span(&record, 1));
        ++info_.RecordCount;
        info_.ChangedBytes += oldBytes.size();
        const std::uint64_t size = header.size() + oldBytes.size() + newSide.size();
        // A large record goes out as it is, in one gathered write: copying it into the buffer
        // first would cost a copy of every byte of a whole-file change.
        if (size >= kDirectRecord) {
            const std::span<const std::byte> parts[] = {header, oldBytes, newSide};
            if (!Flush() || !journal_.WriteAt(position_, parts)) {
                failed_ = true;
                return false;
            }
            journal_.StartWriteback(position_, size);
            position_ += size;
            return true;
        }
        if (buffer_.size() + size > kJournalBuffer && !Flush()) return false;
        buffer_.insert(buffer_.end(), header.begin(), header.end());
        buffer_.insert(buffer_.end(), oldBytes.begin(), oldBytes.end());
        buffer_.insert(buffer_.end(), newSide.begin(), newSide.end());
        return true;
    }

    bool Flush() {
        if (buffer_.empty()) return true;
        if (!Write(journal_, position_, std::as_bytes(std::span(buffer_)))) {
            failed_ = true;
            return false;
        }
        // The disk takes the journal while the change is still being compared.
        journal_.StartWriteback(position_, buffer_.size());
        position_ += buffer_.size();
        buffer_.clear();
        return true;
    }

    bool Failed() const { return failed_; }

  private:
    TRadarFile& journal_;
    TJournalInfo& info_;
    std::vector<std::byte> buffer_;
    std::uint64_t position_ = kHeaderSize;
    bool failed_ = false;
};

// Writes the incomplete header, lets records be written, then syncs, marks the journal complete
// and syncs again; false (journal's fault) when any of it fails.
template <typename Records>
bool WriteJournal(TRadarFile& journal, TJournalInfo& info, Records records) {
    const TJournalHeader incomplete = HeaderOf(info, false);
    if (!Write(journal, 0, std::as_bytes(std::span(&incomplete, 1)))) return false;
    if (!records() || !journal.Sync()) return false;
    const TJournalHeader complete = HeaderOf(info, true);
    return Write(journal, 0, std::as_bytes(std::span(&complete, 1))) && journal.Sync();
}

// Stands in for the target during a change: reads go to the target, writes are compared with
// the target's bytes and what differs goes into the journal, its old bytes and checksums of its
// new ones. A differing range stays open while equal bytes follow it, so that one a few bytes
// on (in the same slice or the next) joins it.
class TChangeRecorder final : public TRadarFile {
  public:
    TChangeRecorder(TRadarFile& target, TRadarFile& journal, TJournalInfo& info,
                    const TByteProgress& progress, TChangePlan* plan)
        : target_(target),
          info_(info),
          progress_(progress),
          plan_(plan),
          window_(target, info.Before.Size),
          records_(journal, info) {}

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

    // Journals the range still open and writes out what is buffered.
    bool Finish() { return Close() && records_.Flush(); }

    bool JournalFailed() const { return records_.Failed(); }

  private:
    bool Compare(std::uint64_t offset, std::span<const std::byte> next) {
        // A range is joined only over bytes the writer handed over, in order.
        if (offset != handedEnd_ && !Close()) return false;
        handedEnd_ = offset + next.size();
        const std::uint64_t oldSize = info_.Before.Size;
        const std::size_t known =
            offset >= oldSize ? 0
                              : static_cast<std::size_t>(std::min(next.size(), oldSize - offset));
        const std::byte* old = known > 0 ? window_.Get(offset, known) : nullptr;
        if (known > 0 && !old) return false;
        if (known == next.size() && std::memcmp(old, next.data(), known) == 0) return Equal(next);
        // Bytes beyond the old end always count as changed (the journal must restore the
        // length); their old side reads as zero.
        if (known < next.size()) {
            old_.assign(next.size(), std::byte{0});
            if (known > 0) std::memcpy(old_.data(), old, known);
            old = old_.data();
        }
        std::size_t at = 0;  // the bytes before it are dealt with
        const bool compared = ForEachDifference(
            old, next.data(), known, next.size(), [&](std::size_t start, std::size_t end) {
                if (!Equal(next.subspan(at, start - at))) return false;
                at = end;
                return Differ(offset + start, std::span(old + start, end - start),
                              next.subspan(start, end - start));
            });
        return compared && Equal(next.subspan(at));
    }

    // Equal bytes handed over after the open range: kept to join it, or the end of it.
    bool Equal(std::span<const std::byte> bytes) {
        if (openOld_.empty() || bytes.empty()) return true;
        if (equal_.size() + bytes.size() >= kMergeGap) return Close();
        equal_.insert(equal_.end(), bytes.begin(), bytes.end());
        return true;
    }

    bool Differ(std::uint64_t offset, std::span<const std::byte> oldBytes,
                std::span<const std::byte> newBytes) {
        const bool joins =
            !openOld_.empty() && offset == openStart_ + openOld_.size() + equal_.size();
        if (!joins || openOld_.size() + equal_.size() + oldBytes.size() > kPiece) {
            if (!Close()) return false;
            openStart_ = offset;
        }
        Hash(equal_);
        openOld_.insert(openOld_.end(), equal_.begin(), equal_.end());
        equal_.clear();
        Hash(newBytes);
        openOld_.insert(openOld_.end(), oldBytes.begin(), oldBytes.end());
        return true;
    }

    // Takes the open range's next new bytes into the checksums of its segments, so that the new
    // side is never copied: a segment's checksum is done where the segment ends.
    void Hash(std::span<const std::byte> bytes) {
        std::uint64_t at = openStart_ + openOld_.size();
        while (!bytes.empty()) {
            if (!segmentOpen_) {
                XXH3_64bits_reset(&segment_);
                segmentOpen_ = true;
                segmentEnd_ = (at / kBlock + 1) * kBlock;
                if (at < info_.Before.Size && info_.Before.Size < segmentEnd_)
                    segmentEnd_ = info_.Before.Size;
            }
            const auto length =
                static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size(), segmentEnd_ - at));
            XXH3_64bits_update(&segment_, bytes.data(), length);
            bytes = bytes.subspan(length);
            at += length;
            if (at == segmentEnd_) EndSegment();
        }
    }

    void EndSegment() {
        const std::uint64_t sum = XXH3_64bits_digest(&segment_);
        const auto bytes = std::as_bytes(std::span(&sum, 1));
        checksums_.insert(checksums_.end(), bytes.begin(), bytes.end());
        if (plan_) plan_->NewChecksums.push_back(sum);
        segmentOpen_ = false;
    }

    bool Close() {
        equal_.clear();
        if (openOld_.empty()) return true;
        // The range ends its last segment, wherever that is.
        if (segmentOpen_) EndSegment();
        if (plan_) plan_->Ranges.push_back({openStart_, openOld_.size()});
        const bool appended = records_.Append(openStart_, openOld_, checksums_);
        openOld_.clear();
        checksums_.clear();
        return appended;
    }

    TRadarFile& target_;
    TJournalInfo& info_;
    const TByteProgress& progress_;
    TChangePlan* plan_;
    std::uint64_t handed_ = 0;     // bytes the writer handed over so far
    std::uint64_t handedEnd_ = 0;  // where its last bytes ended
    TReadWindow window_;
    TRecordWriter records_;
    std::vector<std::byte> old_;  // the old side of a write beyond the old end
    // The open range: where it starts, its old side, and the equal bytes handed over after it.
    std::uint64_t openStart_ = 0;
    std::vector<std::byte> openOld_;
    std::vector<std::byte> equal_;
    // The checksums of the open range's new side so far, and the state of the segment it is in.
    XXH3_state_t segment_{};
    bool segmentOpen_ = false;
    std::uint64_t segmentEnd_ = 0;
    std::vector<std::byte> checksums_;
};

// One record as it stands in a journal: the new side is the bytes (NewBytes) or the checksums
// of their segments (NewChecksums), as the journal keeps it.
struct TRecordView {
    std::uint64_t Offset = 0;
    std::uint64_t Length = 0;
    std::span<const std::byte> OldBytes;
    std::span<const std::byte> NewBytes;
    std::span<const std::byte> NewChecksums;
};

// Calls visit(record) for every record, in order; false when the journal cannot be read, a
// record is not what the journal promises (the last must end where the journal does), or visit
// says so. The bytes are valid during the call. readFailed (when given) tells a read that failed
// apart.
template <typename Visit>
bool ForEachRecord(TRadarFile& journal, const TJournalInfo& info, Visit visit,
                   bool* readFailed = nullptr) {
    const std::uint64_t journalSize = journal.Stamp().Size;
    TReadWindow window(journal, journalSize);
    const std::uint64_t headerSize = RecordHeaderSize(info.Version);
    const auto unread = [readFailed] {
        if (readFailed) *readFailed = true;
        return false;
    };
    std::uint64_t position = kHeaderSize;
    for (std::uint64_t r = 0; r < info.RecordCount; ++r) {
        TRecordHeader record{};
        if (journalSize - position < headerSize) return false;
        const std::byte* header = window.Get(position, static_cast<std::size_t>(headerSize));
        if (!header) return unread();
        std::memcpy(&record, header, static_cast<std::size_t>(headerSize));
        if (record.Length == 0 || record.Length > kPiece) return false;  // never written so
        // Bounded before it is counted: the offset may be anything.
        if (record.Offset > std::max(info.Before.Size, info.NewSize)) return false;
        const std::uint64_t newSide =
            info.NewSideKept ? record.Length
                             : kChecksumSize * SegmentCount(record.Offset, record.Length,
                                                            info.Before.Size, info.Block);
        const std::uint64_t rest = record.Length + newSide;
        if (journalSize - position - headerSize < rest) return false;
        const std::byte* bytes = window.Get(position + headerSize, static_cast<std::size_t>(rest));
        if (!bytes) return unread();
        TRecordView view;
        view.Offset = record.Offset;
        view.Length = record.Length;
        view.OldBytes = std::span(bytes, static_cast<std::size_t>(record.Length));
        const std::span side(bytes + record.Length, static_cast<std::size_t>(newSide));
        (info.NewSideKept ? view.NewBytes : view.NewChecksums) = side;
        if (info.Version != kFirstVersion &&
            record.Checksum != RecordChecksum(record.Offset, view.OldBytes, side))
            return false;
        if (!visit(view)) return false;
        position += headerSize + rest;
    }
    return position == journalSize;
}

// The header of a journal as it stands on the disk, checked in itself; what is wrong otherwise.
TJournalState ReadHeader(TRadarFile& journal, TJournalInfo& info) {
    TJournalHeader h{};
    if (journal.Stamp().Size < kHeaderSize) return TJournalState::Damaged;
    if (!Read(journal, 0, Bytes(h))) return TJournalState::Unreadable;
    if (h.Magic != kMagic ||
        (h.Version != kVersion && h.Version != kSecondVersion && h.Version != kFirstVersion))
        return TJournalState::Damaged;
    if (h.Version != kFirstVersion && h.Checksum != HeaderChecksum(h))
        return TJournalState::Damaged;
    if (h.Complete != 1)
        return h.Complete == 0 ? TJournalState::Incomplete : TJournalState::Damaged;
    if (h.LayoutBefore > 1 || h.LayoutAfter > 1) return TJournalState::Damaged;
    const bool current = h.Version == kVersion;
    // A block that is not a power of two between a sector and a piece was never written.
    if (current && (h.NewSideKept > 1 || h.Block < kBlock || h.Block > kPiece ||
                    (h.Block & (h.Block - 1)) != 0))
        return TJournalState::Damaged;
    info = {};
    info.Version = h.Version;
    info.Before = {h.OldSize, h.OldModifiedNs, h.Device, h.Inode};
    info.NewSize = h.NewSize;
    info.RecordCount = h.RecordCount;
    info.ChangedBytes = h.ChangedBytes;
    info.Time = h.Time;
    info.LayoutBefore = h.LayoutBefore == 0 ? TRadarLayout::Gpr : TRadarLayout::Gpr2;
    info.LayoutAfter = h.LayoutAfter == 0 ? TRadarLayout::Gpr : TRadarLayout::Gpr2;
    info.NewSideKept = !current || h.NewSideKept == 1;
    info.Block = current ? h.Block : 0;
    const char* description = h.Description.data();
    const std::size_t room = current ? kDescriptionSize : kOldDescriptionSize;
    info.Description.assign(description, std::find(description, description + room, '\0'));
    // The records' count and sizes must fill the journal: no record cut off, none hidden after
    // the last (the walk over the records checks the checksums' share to the byte). Counted with
    // overflow in mind, as the fields may be anything.
    const std::uint64_t length = journal.Stamp().Size - kHeaderSize;
    const std::uint64_t perRecord = RecordHeaderSize(h.Version) + (info.NewSideKept ? 0 : 8);
    const std::uint64_t sides = info.NewSideKept ? 2 : 1;
    if (h.RecordCount > length / perRecord || h.ChangedBytes > length / sides)
        return TJournalState::Damaged;
    const std::uint64_t fixed = h.RecordCount * perRecord + sides * h.ChangedBytes;
    if (info.NewSideKept ? fixed != length : fixed > length || (length - fixed) % 8 != 0)
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

// Whether the file's bytes of one record are its old side, its new side, or (mixed) each
// segment wholly one of the two; bytes holds the record's bytes that lie below the file's size.
enum class TRecordSide { Old, New, Mixed };

bool SegmentIsNew(const TRecordView& r, const TJournalInfo& info, std::uint64_t index,
                  std::uint64_t start, std::uint64_t end, const std::byte* bytes) {
    if (info.NewSideKept)
        return std::memcmp(bytes, r.NewBytes.data() + (start - r.Offset), end - start) == 0;
    return SegmentChecksum(bytes, end - start) == ChecksumAt(r.NewChecksums, index);
}

// Whether the file's bytes of a record (bytes, the first length of them, the rest beyond the
// file's end) are the given side exactly.
bool HoldsRecordSide(const TRecordView& r, const TJournalInfo& info, TJournalSide side,
                     const std::byte* bytes) {
    if (side == TJournalSide::Old) return std::memcmp(bytes, r.OldBytes.data(), r.Length) == 0;
    bool holds = true;
    std::uint64_t index = 0;
    ForEachSegment(r.Offset, r.Length, info.Before.Size, info.Block ? info.Block : kBlock,
                   [&](std::uint64_t start, std::uint64_t end) {
                       holds = holds &&
                               SegmentIsNew(r, info, index, start, end, bytes + (start - r.Offset));
                       ++index;
                   });
    return holds;
}

// Whether every journalled byte below the file's size is the old or the new side: byte by byte
// where the journal keeps the new bytes, segment by segment where it keeps their checksums.
bool HoldsEitherSide(const TRecordView& r, const TJournalInfo& info, std::uint64_t fileSize,
                     const std::byte* bytes) {
    const auto length = static_cast<std::size_t>(std::min(r.Length, fileSize - r.Offset));
    if (info.NewSideKept) {
        for (std::size_t i = 0; i < length; ++i)
            if (bytes[i] != r.OldBytes[i] && bytes[i] != r.NewBytes[i]) return false;
        return true;
    }
    // Segments end at sector boundaries, where a write cut short by a crash or a power loss
    // ends too: each is wholly old or wholly new. Beyond the old size a segment cut by the file's
    // end is cut off on the way back anyway.
    bool holds = true;
    std::uint64_t index = 0;
    ForEachSegment(
        r.Offset, r.Length, info.Before.Size, info.Block,
        [&](std::uint64_t start, std::uint64_t end) {
            const std::uint64_t within = std::min(end, r.Offset + length);
            const std::uint64_t at = index++;
            if (start >= within) return;
            const std::byte* part = bytes + (start - r.Offset);
            if (std::memcmp(part, r.OldBytes.data() + (start - r.Offset), within - start) == 0)
                return;
            if (within == end && SegmentIsNew(r, info, at, start, end, part)) return;
            if (within < end && start >= info.Before.Size) return;
            holds = false;
        });
    return holds;
}

// Stands in for the target while a recorded change is written: the writer runs again and hands
// over the same bytes; those of each recorded range are gathered, checked against the range's
// checksums once it is complete and written in one piece, all others are equal to the file's and
// dropped. Reads go to the target until the first write, as during the recording.
class TChangeApplier final : public TRadarFile {
  public:
    TChangeApplier(TRadarFile& target, const TJournalInfo& info, const TChangePlan& plan,
                   const TByteProgress& progress)
        : target_(target), info_(info), plan_(plan), progress_(progress) {}

    TFileStamp Stamp() const override { return info_.Before; }
    bool ReadAt(std::uint64_t offset, TReadSlices slices) override {
        return !wrote_ && target_.ReadAt(offset, slices);
    }
    bool WriteAt(std::uint64_t offset, TWriteSlices slices) override {
        for (const auto& slice : slices) {
            if (!Take(offset, slice)) return false;
            offset += slice.size();
        }
        return true;
    }
    bool Sync() override { return true; }
    bool Truncate(std::uint64_t) override { return false; }

    // Completes the ranges the writer did not reach from the file, which makes them fail their
    // checksums unless they were the file's already.
    bool Finish() {
        while (range_ < plan_.Ranges.size())
            if (!Complete()) return false;
        return true;
    }

    bool Stopped() const { return stopped_; }

  private:
    bool Take(std::uint64_t offset, std::span<const std::byte> bytes) {
        const std::uint64_t end = offset + bytes.size();
        while (range_ < plan_.Ranges.size()) {
            const TJournalRange& r = plan_.Ranges[range_];
            if (offset >= r.Offset + r.Length) {
                if (!Complete()) return false;
                continue;
            }
            if (end <= r.Offset) return true;
            // The part of the bytes inside the range, after any the writer passed over.
            const std::uint64_t from = std::max(offset, r.Offset);
            const std::uint64_t to = std::min(end, r.Offset + r.Length);
            if (from - r.Offset < gathered_.size()) return false;  // not handed over in order
            if (!FillFromFile(from - r.Offset)) return false;
            const auto part = bytes.subspan(static_cast<std::size_t>(from - offset),
                                            static_cast<std::size_t>(to - from));
            gathered_.insert(gathered_.end(), part.begin(), part.end());
            if (gathered_.size() < r.Length) return true;
            if (!Complete()) return false;
        }
        return true;
    }

    // Fills the current range up to length from the file: bytes the writer did not hand over,
    // which it left as they were.
    bool FillFromFile(std::uint64_t length) {
        if (gathered_.size() >= length) return true;
        const std::uint64_t at = plan_.Ranges[range_].Offset + gathered_.size();
        const std::size_t before = gathered_.size();
        gathered_.resize(static_cast<std::size_t>(length));
        const std::uint64_t known = at < info_.Before.Size ? info_.Before.Size - at : 0;
        const auto read = std::span(gathered_).subspan(
            before, static_cast<std::size_t>(std::min<std::uint64_t>(length - before, known)));
        return wrote_ ? read.empty() : Read(target_, at, read);
    }

    bool Complete() {
        const TJournalRange& r = plan_.Ranges[range_];
        if (!FillFromFile(r.Length)) return false;
        bool matches = true;
        ForEachSegment(r.Offset, r.Length, info_.Before.Size, kBlock,
                       [&](std::uint64_t start, std::uint64_t end) {
                           matches = matches && checksum_ < plan_.NewChecksums.size() &&
                                     SegmentChecksum(gathered_.data() + (start - r.Offset),
                                                     end - start) == plan_.NewChecksums[checksum_];
                           ++checksum_;
                       });
        if (!matches || !Write(target_, r.Offset, gathered_)) return false;
        target_.StartWriteback(r.Offset, r.Length);
        wrote_ = true;
        written_ += r.Length;
        gathered_.clear();
        ++range_;
        if (progress_ && !progress_(written_, info_.ChangedBytes)) {
            stopped_ = true;
            return false;
        }
        return true;
    }

    TRadarFile& target_;
    const TJournalInfo& info_;
    const TChangePlan& plan_;
    const TByteProgress& progress_;
    std::size_t range_ = 0;     // the range being gathered
    std::size_t checksum_ = 0;  // the checksum of its first segment
    std::vector<std::byte> gathered_;
    std::uint64_t written_ = 0;
    bool wrote_ = false;
    bool stopped_ = false;
};

}  // namespace

std::optional<TJournalInfo> RecordChange(TRadarFile& target, TRadarFile& journal,
                                         const TChangeWriter& write, TJournalInfo label,
                                         bool* journalFailed, const TByteProgress& progress,
                                         TChangePlan* plan) {
    if (journalFailed) *journalFailed = false;
    TJournalInfo info = std::move(label);
    info.Before = target.Stamp();
    info.NewSize = info.Before.Size;
    info.RecordCount = 0;
    info.ChangedBytes = 0;
    info.NewSideKept = false;
    info.Block = kBlock;
    info.Version = kVersion;
    if (plan) *plan = {};
    bool writerFailed = false;
    std::optional<TChangeRecorder> recorder;
    const bool written = WriteJournal(journal, info, [&] {
        recorder.emplace(target, journal, info, progress, plan);
        if (!write(*recorder)) {
            writerFailed = !recorder->JournalFailed();
            return false;
        }
        return recorder->Finish();
    });
    if (written) return info;
    if (journalFailed) *journalFailed = !writerFailed;
    return std::nullopt;
}

bool WriteChange(TRadarFile& target, const TJournalInfo& info, const TChangePlan& plan,
                 const TChangeWriter& write, const TByteProgress& progress) {
    TChangeApplier applier(target, info, plan, progress);
    if (!write(applier) || !applier.Finish()) return false;
    if (target.Stamp().Size != info.NewSize) return false;
    return target.Sync();
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
        [&](const TRecordView& r) {
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
    if (side == TJournalSide::New && !info.NewSideKept) return false;
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
        [&](const TRecordView& r) {
            done += r.Length;
            if (progress && !progress(done, info.ChangedBytes)) {
                stopped = true;
                return false;
            }
            if (r.Offset >= size) return true;
            const auto length = static_cast<std::size_t>(std::min(r.Length, size - r.Offset));
            return writer.Add(r.Offset,
                              (side == TJournalSide::Old ? r.OldBytes : r.NewBytes).first(length));
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
    const bool read = ForEachRecord(journal, info, [&](const TRecordView& r) {
        if (r.Offset >= now.Size) return true;
        const auto length = static_cast<std::size_t>(std::min(r.Length, now.Size - r.Offset));
        const std::byte* bytes = current.Get(r.Offset, length);
        if (!bytes) return false;
        if (HoldsEitherSide(r, info, now.Size, bytes)) return true;
        match = TJournalMatch::ChangedSince;
        return false;
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
    const bool read = ForEachRecord(journal, info, [&](const TRecordView& r) {
        done += r.Length;
        if (progress && !progress(done, info.ChangedBytes)) return false;
        if (r.Offset >= size) return true;
        // A record reaching beyond the side's size: only its bytes inside count. A journal that
        // keeps checksums of the new side never has one for that side (it never shrinks).
        if (r.Length > size - r.Offset) {
            const auto length = static_cast<std::size_t>(size - r.Offset);
            const std::byte* bytes = current.Get(r.Offset, length);
            if (!bytes) return false;
            const auto expected = side == TJournalSide::Old ? r.OldBytes : r.NewBytes;
            if (!expected.empty() && std::memcmp(bytes, expected.data(), length) == 0) return true;
            match = TJournalMatch::ChangedSince;
            return false;
        }
        const std::byte* bytes = current.Get(r.Offset, static_cast<std::size_t>(r.Length));
        if (!bytes) return false;
        if (HoldsRecordSide(r, info, side, bytes)) return true;
        match = TJournalMatch::ChangedSince;
        return false;
    });
    if (match != TJournalMatch::Matches) return match;
    return read ? TJournalMatch::Matches : TJournalMatch::Unreadable;
}

bool HoldsSide(TRadarFile& target, TRadarFile& journal, TJournalSide side) {
    return MatchSide(target, journal, side) == TJournalMatch::Matches;
}

TJournalMatch KeepNewSide(TRadarFile& target, TRadarFile& journal, TRadarFile& full,
                          bool* journalFailed, const TByteProgress& progress) {
    if (journalFailed) *journalFailed = false;
    TJournalInfo info;
    if (VerifyJournal(journal, &info) != TJournalState::Valid) return TJournalMatch::Unreadable;
    if (target.Stamp().Size != info.NewSize) return TJournalMatch::OtherFile;
    TJournalInfo kept = info;
    kept.RecordCount = 0;
    kept.ChangedBytes = 0;
    kept.NewSideKept = true;
    kept.Block = kBlock;
    TJournalMatch match = TJournalMatch::Matches;
    bool recordsFailed = false;
    const bool written = WriteJournal(full, kept, [&] {
        TReadWindow current(target, info.NewSize);
        TRecordWriter records(full, kept);
        std::uint64_t done = 0;
        const bool read = ForEachRecord(journal, info, [&](const TRecordView& r) {
            done += r.Length;
            if (progress && !progress(done, info.ChangedBytes)) return false;
            const std::byte* bytes = current.Get(r.Offset, static_cast<std::size_t>(r.Length));
            if (!bytes) return false;
            if (!HoldsRecordSide(r, info, TJournalSide::New, bytes)) {
                match = TJournalMatch::ChangedSince;
                return false;
            }
            if (records.Append(r.Offset, r.OldBytes,
                               std::span(bytes, static_cast<std::size_t>(r.Length))))
                return true;
            recordsFailed = true;
            return false;
        });
        if (!read) {
            if (match == TJournalMatch::Matches && !recordsFailed)
                match = TJournalMatch::Unreadable;
            return false;
        }
        if (records.Flush()) return true;
        recordsFailed = true;
        return false;
    });
    if (written) return TJournalMatch::Matches;
    if (match == TJournalMatch::Matches && journalFailed) *journalFailed = true;
    return match == TJournalMatch::Matches ? TJournalMatch::Unreadable : match;
}

}  // namespace trelvanox

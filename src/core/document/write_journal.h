#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/radar_file.h"
#include "model/radar_layout.h"

namespace trelvanox {

// A rollback journal of one change to a radargram file: for every byte range the change alters,
// the offset, the old bytes and the new side (as the bytes themselves or as checksums of them),
// and the file's length and identity before and its length after. A change journals only the
// old bytes and checksums of the new ones, so a whole-file change writes each byte about twice
// (journal and file), not three times; the new bytes are what the file holds after the change,
// and its undo takes them from there, checked against the checksums, into a journal that keeps
// both sides, so the same journal then takes the file back (the old side) or forward again (the
// new side). Once committed the journal is the change's step in the file's history.
//
// Format (little-endian): a 256-byte header
//   "TRVXJRN1", u32 version (3), u32 complete flag, u64 device, u64 inode, u64 old size,
//   i64 old modification time (ns), u64 new size, u64 record count, u64 changed bytes,
//   i64 creation time (s since 1970), 152 bytes of UTF-8 description, zero padded, u32 new side
//   kept (1: the records hold the new bytes, 0: checksums of them), u32 checksum block size,
//   u32 layout before, u32 layout after (0 GPR, 1 GPR2), u64 checksum (XXH3-64 of the 248 bytes
//   before it);
// then the records in ascending order, none overlapping: u64 offset, u64 length, u64 checksum
// (XXH3-64 of offset, length and the rest of the record), the old bytes, then either the new
// bytes or an XXH3-64 of the new bytes of every segment of the range. Segments end at every
// multiple of the block size (a sector) and at the old size, so that recovery can tell a file
// torn by a crash or a power loss (which leave each sector wholly old or wholly new) from
// another program's edit. The complete flag is set, and synced, only after every record is on
// the disk, so a journal without it was never the promise of a change and the file was never
// touched under it.
// Version 2 always kept both sides and had 160 bytes of description where version 3 keeps the
// new side's form and the block size; version 1 had no checksums either (its records are 16
// bytes before the sides). Both are still read, with every check they allow, and never written.
struct TJournalInfo {
    TFileStamp Before;          // the file before the change: identity, size, time
    std::uint64_t NewSize = 0;  // its size after
    std::uint64_t RecordCount = 0;
    std::uint64_t ChangedBytes = 0;  // the bytes the change alters
    std::int64_t Time = 0;           // when the change was recorded, in seconds since 1970
    std::string Description;         // what the change was, for the user
    // The layouts the file is read with before and after the change: undo and redo read it again
    // in the layout of the side they put back.
    TRadarLayout LayoutBefore = TRadarLayout::Gpr2;
    TRadarLayout LayoutAfter = TRadarLayout::Gpr2;
    std::uint32_t Version = 0;  // of the journal read; the writer always writes the newest
    // Whether the records hold the new bytes; without, only checksums of their segments.
    bool NewSideKept = true;
    std::uint32_t Block = 0;  // where the new side's segments end (besides the old size)
};

// One range of a file that a change alters.
struct TJournalRange {
    std::uint64_t Offset = 0;
    std::uint64_t Length = 0;
};

// What a recording keeps in memory for the write that follows it, so that the journal need not
// be read again: the ranges it journalled and the checksums of their new bytes' segments.
struct TChangePlan {
    std::vector<TJournalRange> Ranges;
    std::vector<std::uint64_t> NewChecksums;
};

// What a journal is worth before anything of it is applied.
enum class TJournalState {
    Valid,       // complete, every checksum, size and bound right
    Incomplete,  // no complete flag: never the promise of a change, the file was never touched
    Damaged,     // a checksum, a size, a count or a bound is wrong: never to be applied
    Unreadable,  // the journal could not be read (an I/O error): nothing is known about it
};

// Reads the whole journal and checks it: header checksum, the record count and sizes against
// the journal's length, every record's checksum, records in order and inside the larger of the
// two sides, and the bytes between the two sizes covered. Fills info when it is valid.
TJournalState VerifyJournal(TRadarFile& journal, TJournalInfo* info = nullptr);

// Which side of a journal to put into the file.
enum class TJournalSide { Old, New };

// Whether a file holds, in every journalled range, nothing but the journal's old or new bytes.
enum class TJournalMatch {
    Matches,
    OtherFile,     // another file (device, inode) or a length outside the change
    ChangedSince,  // a journalled byte holds something the journal never wrote
    Unreadable,    // the journal or the file could not be read
};

// What a change writes: it gets a file to write into and returns whether it wrote everything.
using TChangeWriter = std::function<bool(TRadarFile& file)>;

// Told how many of how many bytes a long step has dealt with; returning false stops it.
using TByteProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

// Runs write against a stand-in for target that compares every write with target's bytes and
// records each differing range (and any growth) in journal, with the old bytes and checksums of
// the new ones; target itself is not written. Then syncs the journal, marks it complete and
// syncs it again. The label gives the description, time and layouts; the rest of the returned
// header is filled here. Nothing when write fails, a read of target fails, or the journal cannot
// be written; journalFailed (when given) tells the last apart, since a journal write that fails
// under write makes write fail too. plan (when given) receives what WriteChange needs.
// progress (when given) is told the bytes handed over against the file's old size; stopping it
// makes the recording fail as a failed write does (journalFailed false).
std::optional<TJournalInfo> RecordChange(TRadarFile& target, TRadarFile& journal,
                                         const TChangeWriter& write, TJournalInfo label,
                                         bool* journalFailed = nullptr,
                                         const TByteProgress& progress = {},
                                         TChangePlan* plan = nullptr);

// Runs write a second time and puts into target the bytes it hands over in the recorded ranges,
// each range once it is complete and its segments match the recorded checksums; nothing outside
// them. Then syncs target. False when write fails, reads target after it has been written,
// hands over anything but what was recorded, or a write or the sync fails: the file is then
// part old, part new, for the journal's old side to take back.
// progress (when given) is told the journalled bytes written against all of them.
bool WriteChange(TRadarFile& target, const TJournalInfo& info, const TChangePlan& plan,
                 const TChangeWriter& write, const TByteProgress& progress = {});

// Writes into full the journal's change with both sides: the old bytes from journal, the new
// ones read from target, which must hold exactly the journal's new side (checked against its
// checksums); made durable and marked complete as a recording is. Matches when full is written;
// otherwise what target is (OtherFile, ChangedSince, Unreadable for a journal or a file that
// could not be read) or journalFailed (when given) set for full that could not be written.
// progress (when given) is told the journalled bytes dealt with against all of them.
TJournalMatch KeepNewSide(TRadarFile& target, TRadarFile& journal, TRadarFile& full,
                          bool* journalFailed = nullptr, const TByteProgress& progress = {});

// The header of a complete journal; nothing for an incomplete or unreadable one.
std::optional<TJournalInfo> ReadJournalInfo(TRadarFile& journal);

// Puts one side of the journal into target after verifying the whole journal: a file going back
// to a smaller size is cut first, so the restore needs no free space; then every record's bytes
// of that side inside its size, then a sync of target. state (when given) tells a journal that
// is not valid (nothing written) from a target that failed (Valid).
// progress (when given) is told the journalled bytes written against all of them; stopping it
// ends the apply with the file part old, part new (state Valid), for the caller to take back.
// The new side of a journal that keeps only its checksums cannot be applied: false, with
// nothing written (state Valid).
bool ApplyJournal(TRadarFile& target, TRadarFile& journal, TJournalSide side,
                  TJournalState* state = nullptr, const TByteProgress& progress = {});

// Whether target can take the journal's side without losing anything the journal did not write:
// same identity, a length between the two sides, every journalled byte one of the two (with
// checksums of the new side: every segment old or new, as sectors are; a segment cut by the file's
// end beyond the old size, which the way back cuts off, counts as either).
TJournalMatch CheckJournal(TRadarFile& target, TRadarFile& journal);

// Whether target holds exactly the given side of the journal in its ranges and length.
bool HoldsSide(TRadarFile& target, TRadarFile& journal, TJournalSide side);
// As HoldsSide, telling a file that differs (OtherFile or ChangedSince) from one that could not
// be compared (Unreadable). progress (when given) is told the journalled bytes compared against
// all of them; stopping it ends the comparison as Unreadable.
TJournalMatch MatchSide(TRadarFile& target, TRadarFile& journal, TJournalSide side,
                        const TByteProgress& progress = {});

}  // namespace trelvanox

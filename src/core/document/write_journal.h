#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "model/radar_file.h"
#include "model/radar_layout.h"

namespace trelvanox {

// A rollback journal of one change to a radargram file: for every byte range the change alters,
// the offset, the old bytes and the new bytes, and the file's length and identity before and its
// length after. The same journal takes the file back (the old side) or forward again (the new
// side), so once committed it is also the change's step in the file's history.
//
// Format (little-endian): a 256-byte header
//   "TRVXJRN1", u32 version, u32 complete flag, u64 device, u64 inode, u64 old size,
//   i64 old modification time (ns), u64 new size, u64 record count, u64 changed bytes,
//   i64 creation time (s since 1970), 160 bytes of UTF-8 description, zero padded, u32 layout
//   before, u32 layout after (0 GPR, 1 GPR2), u64 checksum (XXH3-64 of the 248 bytes before it);
// then the records in ascending order, none overlapping: u64 offset, u64 length, u64 checksum
// (XXH3-64 of offset, length, old bytes and new bytes), the old bytes, the new bytes. The
// complete flag is set, and synced, only after every record is on the disk, so a journal
// without it was never the promise of a change and the file was never touched under it.
// Version 1 had neither checksum (its records are 16 bytes before the sides); such journals are
// still read, with every other check, and never written.
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
// records each differing range (and any growth) in journal; target itself is not written. Then
// syncs the journal, marks it complete and syncs it again. The label gives the description, time
// and layouts; the rest of the returned header is filled here. Nothing when write fails, a read
// of target fails, or the journal cannot be written; journalFailed (when given) tells the last
// apart, since a journal write that fails under write makes write fail too.
// progress (when given) is told the bytes handed over against the file's old size; stopping it
// makes the recording fail as a failed write does (journalFailed false).
std::optional<TJournalInfo> RecordChange(TRadarFile& target, TRadarFile& journal,
                                         const TChangeWriter& write, TJournalInfo label,
                                         bool* journalFailed = nullptr,
                                         const TByteProgress& progress = {});

// The header of a complete journal; nothing for an incomplete or unreadable one.
std::optional<TJournalInfo> ReadJournalInfo(TRadarFile& journal);

// Puts one side of the journal into target after verifying the whole journal: a file going back
// to a smaller size is cut first, so the restore needs no free space; then every record's bytes
// of that side inside its size, then a sync of target. state (when given) tells a journal that
// is not valid (nothing written) from a target that failed (Valid).
// progress (when given) is told the journalled bytes written against all of them; stopping it
// ends the apply with the file part old, part new (state Valid), for the caller to take back.
bool ApplyJournal(TRadarFile& target, TRadarFile& journal, TJournalSide side,
                  TJournalState* state = nullptr, const TByteProgress& progress = {});

// Whether target can take the journal's side without losing anything the journal did not write:
// same identity, a length between the two sides, every journalled byte one of the two.
TJournalMatch CheckJournal(TRadarFile& target, TRadarFile& journal);

// Whether target holds exactly the given side of the journal in its ranges and length.
bool HoldsSide(TRadarFile& target, TRadarFile& journal, TJournalSide side);
// As HoldsSide, telling a file that differs (OtherFile or ChangedSince) from one that could not
// be compared (Unreadable). progress (when given) is told the journalled bytes compared against
// all of them; stopping it ends the comparison as Unreadable.
TJournalMatch MatchSide(TRadarFile& target, TRadarFile& journal, TJournalSide side,
                        const TByteProgress& progress = {});

}  // namespace trelvanox

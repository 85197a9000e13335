#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/model_edit.h"
#include "document/write_journal.h"
#include "model/radar_file.h"
#include "settings/durable_file.h"

namespace trelvanox {

// The default history size: the oldest steps go once the steps of a file take more.
constexpr std::uint64_t kDefaultHistoryLimit = std::uint64_t{2} << 30;

// The user's state folder for journals and histories: $XDG_STATE_HOME/trelvanox, else
// ~/.local/state/trelvanox; empty when neither variable names a folder.
std::filesystem::path DefaultStateFolder();

// One step of a file's history, oldest first.
struct THistoryEntry {
    std::string Description;
    std::int64_t Time = 0;        // seconds since 1970
    std::uint64_t BytesKept = 0;  // the size of its journal
    bool Applied = true;          // false for a step that was undone (redo takes it again)
};

// How the history opens its journals and makes its index durable: the real files and the
// system's folder sync by default; tests put doubles that fail in between.
struct TJournalFiles {
    std::function<std::unique_ptr<TRadarFile>(const std::filesystem::path&)> Create =
        CreateRadarFile;
    // Journals are only ever read once written: read access is all they are opened with.
    std::function<std::unique_ptr<TRadarFile>(const std::filesystem::path&)> Open =
        OpenRadarFileForReading;
    // The sync of the history's folder after its index is renamed; the system's when empty.
    TFolderSyncCall SyncIndexFolder;
};

// How a change, an undo or a redo ended.
enum class THistoryStatus {
    Done,
    Unchanged,          // the change altered no byte: the file and the history stay as they were
    NothingToUndo,      // no step to undo or redo
    WriterFailed,       // the change's own writer refused; nothing was touched
    JournalFailed,      // the journal or the history could not be written; the file is untouched
    RolledBack,         // the file could not be changed and holds its old bytes again
    Interrupted,        // neither the change nor its rollback completed: the next read recovers
    HistoryLost,        // undo or redo found the file changed by another program; history dropped
    JournalUnreadable,  // a step's journal could not be opened or read: nothing changed, the
                        // history is kept (Detail names the journal)
    JournalDamaged,     // a step's journal failed its checks: never applied, set aside where
                        // Detail says; the steps behind it are gone, the file is unchanged
    FileUnreadable,     // the file could not be read to compare it with the step: unchanged
    Cancelled,          // stopped through its progress: the file holds its old bytes again
    ChangedOnDisk,      // another program changed or replaced the file during the change: it
                        // was refused, and what it had written taken back
};

// Whether the path still names the file being changed, as it is now (identity and size).
using TPathCheck = std::function<bool()>;

struct THistoryOutcome {
    THistoryStatus Status = THistoryStatus::Done;
    std::string Description;  // of the step done, undone or redone
    // The layout the file has now, for undo and redo: the side of the step they put back.
    TRadarLayout Layout = TRadarLayout::Gpr2;
    std::string Detail;  // the journal a JournalUnreadable or JournalDamaged outcome names
    // Done, but the history's folder could not be synced after its index was replaced: the
    // change is made and recorded, its record may not survive a power loss (Russian text).
    std::string Warning;
};

// The journals and the history of radargram files, kept per file in a state folder: by the
// file's identity (device and inode, on Windows volume and file index), so every name of a file
// (a hard link) finds the same history; histories that earlier versions kept by the file's path
// are taken over on first use. Every change goes through a rollback journal made durable before the
// file is touched; a committed journal becomes the change's history step.
//
// The folder of one file holds its journals (NNNNNNNN.step) and an index that names the steps in
// order (applied or undone), the file's stamp after the last change we made, and the journal of
// a change in progress. The index is replaced durably; each replacement is a commit point.
class TFileHistory {
  public:
    // With an empty state folder, each file keeps its journals and history in a hidden folder
    // beside it.
    explicit TFileHistory(std::filesystem::path stateFolder,
                          std::uint64_t limitBytes = kDefaultHistoryLimit,
                          TJournalFiles files = {});

    // Before a read of the file at path (resolved) over target: puts back the old bytes of a
    // change that was interrupted, or sets its journal aside when the file no longer matches it,
    // and drops a history that another program's edit made wrong. Returns the messages for
    // the user (Russian), in order.
    std::vector<std::string> Recover(const std::filesystem::path& path, TRadarFile& target);
    // Whether Recover has anything to do for the file (a pending journal, a history that does
    // not match it): only then does a read need the file to itself.
    bool NeedsRecovery(const std::filesystem::path& path, const TRadarFile& target);

    // Writes a change into target through a journal: only the differing bytes, old bytes kept
    // first. The label gives the change's description and layouts. With keepStep the journal
    // becomes the newest step (later, undone steps go); without, the file's history is cleared,
    // since its steps no longer lead to this file.
    // progress (when given) hears of the recording (0 to 0.5) and of the writing into the file
    // (0.5 to 1); a stop there takes back what was written.
    // Before the file is written and before the commit, the file must still be as the recording
    // found it (identity, size, modification time) and pathCheck (when given) must hold.
    THistoryOutcome Change(const std::filesystem::path& path, TRadarFile& target,
                           const TChangeWriter& write, const TJournalInfo& label, bool keepStep,
                           const TWriteProgress& progress = {}, const TPathCheck& pathCheck = {});
    // Takes the newest applied step back, or the oldest undone step again. pathCheck (when given)
    // must hold before the file is written and before the commit, as for a change: a file put
    // at the path meanwhile gets ChangedOnDisk and keeps what it held.
    // progress (when given) hears of the comparison of the file with the step (0 to 0.5) and of
    // the writing (0.5 to 1); a stop gives Cancelled with the file and the history as they were.
    THistoryOutcome Undo(const std::filesystem::path& path, TRadarFile& target,
                         const TWriteProgress& progress = {}, const TPathCheck& pathCheck = {});
    THistoryOutcome Redo(const std::filesystem::path& path, TRadarFile& target,
                         const TWriteProgress& progress = {}, const TPathCheck& pathCheck = {});

    // The file's steps, oldest first; empty when it has none or its history is not valid for
    // target any more.
    std::vector<THistoryEntry> Entries(const std::filesystem::path& path, TRadarFile& target);

    // Takes effect at the next change.
    void SetLimit(std::uint64_t limitBytes) { limitBytes_ = limitBytes; }

    // The folder of the journals and history of the file target, opened at path.
    std::filesystem::path FolderOf(const std::filesystem::path& path,
                                   const TRadarFile& target) const;

  private:
    THistoryOutcome Step(const std::filesystem::path& path, TRadarFile& target, bool undo,
                         const TWriteProgress& progress, const TPathCheck& pathCheck);
    // Replaces the step's journal, which keeps checksums of the new side, with one that keeps
    // the new bytes, read from target (which must hold them) for a redo; journal is then the new
    // one. failed tells a journal that could not be written, renamed or synced (the step keeps
    // its journal as it was); otherwise what target is.
    TJournalMatch KeepNewSide(const std::filesystem::path& folder, const std::string& step,
                              TRadarFile& target, std::unique_ptr<TRadarFile>& journal,
                              bool& failed, const TByteProgress& progress);
    // FolderOf, after moving a history kept under the file's path there.
    std::filesystem::path Locate(const std::filesystem::path& path, const TRadarFile& target);
    std::filesystem::path PathFolderOf(const std::filesystem::path& path) const;

    std::filesystem::path stateFolder_;
    std::uint64_t limitBytes_;
    TJournalFiles files_;
};

}  // namespace trelvanox

#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/string_grid.h"
#include "document/file_history.h"
#include "document/model_edit.h"
#include "labels/read_label_table.h"
#include "model/file_messages.h"
#include "model/radar_file_lock.h"
#include "model/radar_layout.h"
#include "model/radargram.h"

namespace trelvanox {

// What changed in a document, for those who show it.
enum class TDocumentChange {
    Recovered,    // before a read: an interrupted change was put right (see Notices())
    Read,         // a complete read: model, both tables, counts, length and size are new
    ReadFailed,   // a read that did not complete: the read-label table is empty and the size is
                  // that of the file tried, when it could be opened; all else is as before
    HeaderTable,  // the header table and the profile length were filled again from the model
    Written,      // the model was stored into a file, or a change was undone or redone
};

// The outcome of a document operation: success, or the message the window or the batch tool
// shows for the failure (text, caption, icon). The document itself shows nothing.
struct TDocumentResult {
    std::optional<TFileMessage> Message;  // empty on success
    // The write was refused because another program changed or replaced the file since it was
    // read: reading it again is the way on.
    bool ChangedOnDisk = false;
    // The user stopped the change through its progress; the file and the model are as before.
    bool Cancelled = false;
    // Another Trelvanox process kept the file locked for the whole wait: nothing was read or
    // changed.
    bool Busy = false;
    // Done, with something the user should still know (the change may not be durable).
    std::string Warning;

    bool Ok() const { return !Message; }
    std::int32_t Code() const { return Ok() ? 0 : 1; }
};

// The radargram file that is open: the model and everything shown of it (the header table with
// the profile length, the read-label table with its three counts, the file's size), the path it
// was read from and the layout it was read with. The desktop program and the batch tool both
// reach the reader and the writer through it, and any number of views follow it through its
// observers.
//
// The model and the tables are the document's; callers change the model through Model() and
// then write, and may edit the tables' cells as a user edits the grids. The observers are called
// on the caller's thread, after the change, in the order they subscribed.
class TRadargramDocument {
  public:
    using TObserver = std::function<void(TDocumentChange)>;

    // Journals and the history of every file go into the state folder (see TFileHistory).
    explicit TRadargramDocument(std::filesystem::path stateFolder = DefaultStateFolder(),
                                std::uint64_t historyLimit = kDefaultHistoryLimit);
    TRadargramDocument(const TRadargramDocument&) = delete;
    TRadargramDocument& operator=(const TRadargramDocument&) = delete;

    // Reads the file at path in the layout. The read-label table starts empty (titles, standard
    // row count) whatever the outcome; on success the model, both tables and the counts show the
    // file, on failure they keep the previous file's contents.
    TDocumentResult Open(const std::filesystem::path& path, TRadarLayout layout);
    // Reads the file of the last complete read again, in the layout the document has.
    TDocumentResult ReadAgain();
    // Stores the model in place into the file at path (it must be the file last read, unchanged
    // since) in the layout; the layout becomes the document's once the write succeeded. Only the
    // bytes that differ are written, behind a rollback journal; the change becomes a step of the
    // file's history under the description (unless history is off). A write that fails leaves
    // the file as it was.
    TDocumentResult Write(const std::filesystem::path& path, TRadarLayout layout,
                          const std::string& description);
    TDocumentResult Write(const std::string& description);  // into Path(), in Layout()
    // As Write, with the traces packed without the gaps.
    TDocumentResult WriteWithoutGaps(const std::filesystem::path& path,
                                     const std::string& description);
    TDocumentResult WriteWithoutGaps(const std::string& description);  // into Path()
    // Applies the edit to the model and writes it into Path() in Layout() as one step of the
    // file's history under the edit's description. When the write fails, is refused or is
    // stopped through progress, the model is read again from the file, so it never keeps an
    // edit that the file did not get.
    TDocumentResult Change(const TModelEdit& edit, const TWriteProgress& progress = {});
    // As Change, into the file at path (it must be the file last read) in the layout, which
    // becomes the document's once the write succeeded.
    TDocumentResult Change(const std::filesystem::path& path, TRadarLayout layout,
                           const TModelEdit& edit, const TWriteProgress& progress = {});
    // Puts the file back as it was before its newest change, or forward again to after the
    // oldest undone one, then reads it again (in the layout of that side). progress hears how
    // far the step has come (0..1); a stop leaves the file, the model and the history as they
    // were, with Cancelled set.
    TDocumentResult Undo(const TWriteProgress& progress = {});
    TDocumentResult Redo(const TWriteProgress& progress = {});
    // The steps of the file's history, oldest first.
    std::vector<THistoryEntry> History();
    // Whether changes are kept as history steps (they are always journalled); off clears the
    // history of each file written, since its steps no longer lead to it.
    void SetKeepHistory(bool keep) { keepHistory_ = keep; }
    // The most bytes the steps of one file may take; the oldest go first.
    void SetHistoryLimit(std::uint64_t bytes) { history_.SetLimit(bytes); }
    // How long a read or a change waits for another Trelvanox process to finish with the file
    // before it gives up as Busy. Reads share the file; a change, an undo, a redo and a recovery
    // have it to themselves from the check that the file is the one read until the commit. No
    // lock is held between operations.
    void SetLockWait(std::chrono::milliseconds wait) { lockWait_ = wait; }
    // For a program that reads, changes and is done (the batch tool): each Open takes the
    // file's exclusive lock and keeps it until the next Open or the document's end, so no other
    // process can change the file between this read and this write.
    void HoldLockWhileOpen(bool hold) { holdLock_ = hold; }
    // What the last Open reported about an interrupted change or a lost history (Russian).
    const std::vector<std::string>& Notices() const { return notices_; }
    // Success once a file has been read; otherwise the writer's "not read" message, for the
    // commands that must change nothing without a file.
    TDocumentResult RequireRead() const;
    // Fills the header table and the profile length again from the model, which may have been
    // changed since the read.
    void RefillHeaderTable();

    TRadargram& Model() { return model_; }
    const TRadargram& Model() const { return model_; }
    // The path as given to the last complete read (empty before it) and its layout.
    const std::filesystem::path& Path() const { return path_; }
    TRadarLayout Layout() const { return layout_; }
    // The size of the file the last read tried, when it could be opened.
    std::optional<std::uint64_t> FileSize() const { return fileSize_; }

    TStringGrid& HeaderTable() { return headerTable_; }
    const TStringGrid& HeaderTable() const { return headerTable_; }
    const std::string& ProfileLengthText() const { return profileLength_; }
    TStringGrid& ReadLabelTable() { return readLabelTable_; }
    const TStringGrid& ReadLabelTable() const { return readLabelTable_; }
    const TReadLabelCounts& LabelCounts() const { return labelCounts_; }

    // Returns the key that Unsubscribe takes.
    int Subscribe(TObserver observer);
    void Unsubscribe(int key);

  private:
    void Notify(TDocumentChange change);
    void FillTables();
    TDocumentResult WriteJournalled(const std::filesystem::path& path, TRadarLayout layout,
                                    bool packed, const std::string& description);
    // As WriteJournalled, with the file's exclusive lock already held.
    TDocumentResult WriteLocked(const std::filesystem::path& path, TRadarLayout layout, bool packed,
                                const std::string& description,
                                const TWriteProgress& progress = {});
    // The file's lock, or the Busy result when another process kept it for the whole wait.
    std::optional<TDocumentResult> Lock(const std::filesystem::path& path, TLockKind kind,
                                        TRadarFileLock& lock) const;
    TDocumentResult Step(bool undo, const TWriteProgress& progress);
    // The refusal when the file is not the one read or written last; nothing when it is.
    std::optional<TDocumentResult> ChangedSinceRead(const TRadarFile& file) const;

    TRadargram model_;
    std::filesystem::path path_;
    TRadarLayout layout_ = TRadarLayout::Gpr2;
    std::optional<std::uint64_t> fileSize_;
    TStringGrid headerTable_;
    std::string profileLength_;
    TStringGrid readLabelTable_;
    TReadLabelCounts labelCounts_;
    TFileHistory history_;
    bool keepHistory_ = true;
    std::chrono::milliseconds lockWait_{5000};
    bool holdLock_ = false;
    TRadarFileLock held_;  // the lock HoldLockWhileOpen keeps
    // The file as the last read or our last change left it.
    std::optional<TFileStamp> stamp_;
    std::vector<std::string> notices_;
    std::vector<std::pair<int, TObserver>> observers_;
    int nextKey_ = 0;
};

}  // namespace trelvanox

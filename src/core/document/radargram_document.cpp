#include "document/radargram_document.h"

#include <algorithm>

#include "document/document_messages.h"
#include "header/header_table.h"
#include "model/radargram_io.h"

namespace trelvanox {

namespace {

TDocumentResult Failure(std::optional<TFileMessage> message) {
    TDocumentResult result;
    result.Message = std::move(message);
    return result;
}

TDocumentResult ReadOutcome(const TReadResult& read) {
    return Failure(ReadFailureMessage(read.Status));
}

TDocumentResult WriteOutcome(const TWriteResult& write) {
    return Failure(WriteFailureMessage(write.Status));
}

// Whether path still names the open file (identity and size): another file put at the path
// while it is written would take the write into a name no one reads.
TPathCheck PathNames(const std::filesystem::path& path, const TRadarFile& file) {
    return [path, &file] {
        const auto named = StampOfPath(path);
        const TFileStamp open = file.Stamp();
        return named && named->Device == open.Device && named->Inode == open.Inode &&
               named->Size == open.Size;
    };
}

}  // namespace

TRadargramDocument::TRadargramDocument(std::filesystem::path stateFolder,
                                       std::uint64_t historyLimit)
    : headerTable_(static_cast<int>(THeaderTableColumn::Count), kHeaderTableRows),
      readLabelTable_(static_cast<int>(TReadLabelColumn::Count), kReadLabelRows),
      history_(std::move(stateFolder), historyLimit) {
    SetHeaderTableCaptions(headerTable_);
    SetReadLabelCaptions(readLabelTable_);
}

TDocumentResult TRadargramDocument::Open(const std::filesystem::path& path, TRadarLayout layout) {
    // A read that grew the table for a file with many labels must not leave the next file's
    // table (and its export) longer than the standard.
    ClearGridCells(readLabelTable_, 0, 1);
    readLabelTable_.SetRowCount(kReadLabelRows);
    SetReadLabelCaptions(readLabelTable_);

    notices_.clear();
    TReadResult read{1, TReadStatus::OpenFailed, std::nullopt};
    // A read shares the file with other reads but waits for a change in progress, so it never
    // sees half of one, nor takes its journal for that of a writer that died.
    TRadarFileLock lock;
    const bool holding = holdLock_ && held_.Held();
    if (!holding) {
        held_ = {};
        const TLockKind kind = holdLock_ ? TLockKind::Exclusive : TLockKind::Shared;
        if (auto busy = Lock(path, kind, lock)) {
            Notify(TDocumentChange::ReadFailed);
            return *busy;
        }
    }
    if (const auto file = OpenRadarFile(path)) {
        const std::filesystem::path source = SourcePathOf(path);
        // An interrupted change is put right before anything of the file is read or shown,
        // with the file to itself: only a writer that died leaves its journal to us.
        if (history_.NeedsRecovery(source, *file)) {
            if (!holdLock_) {
                lock = {};
                if (auto busy = Lock(path, TLockKind::Exclusive, lock)) {
                    Notify(TDocumentChange::ReadFailed);
                    return *busy;
                }
            }
            notices_ = history_.Recover(source, *file);
            if (!holdLock_) lock.Downgrade(lockWait_);
        }
        if (!notices_.empty()) Notify(TDocumentChange::Recovered);
        read = ReadRadargramFrom(model_, *file, layout, source);
        if (read.Code == 0) stamp_ = file->Stamp();
    }
    if (holdLock_ && lock.Held()) held_ = std::move(lock);
    fileSize_ = read.FileSize;
    const TDocumentResult result = ReadOutcome(read);
    if (result.Ok()) {
        path_ = path;
        layout_ = layout;
        FillTables();
    }
    Notify(result.Ok() ? TDocumentChange::Read : TDocumentChange::ReadFailed);
    return result;
}

TDocumentResult TRadargramDocument::ReadAgain() {
    // Copied: Open replaces the path it is given.
    const std::filesystem::path path = path_;
    return Open(path, layout_);
}

TDocumentResult TRadargramDocument::Write(const std::filesystem::path& path, TRadarLayout layout,
                                          const std::string& description) {
    return WriteJournalled(path, layout, false, description);
}

TDocumentResult TRadargramDocument::Write(const std::string& description) {
    return Write(path_, layout_, description);
}

TDocumentResult TRadargramDocument::WriteWithoutGaps(const std::filesystem::path& path,
                                                     const std::string& description) {
    return WriteJournalled(path, layout_, true, description);
}

TDocumentResult TRadargramDocument::WriteWithoutGaps(const std::string& description) {
    return WriteWithoutGaps(path_, description);
}

std::optional<TDocumentResult> TRadargramDocument::Lock(const std::filesystem::path& path,
                                                        TLockKind kind,
                                                        TRadarFileLock& lock) const {
    // The lock kept since the read covers everything until the document is done.
    if (held_.Held()) return std::nullopt;
    TLockStatus status = TLockStatus::Unavailable;
    lock = TRadarFileLock::Acquire(path, kind, lockWait_, status);
    if (status != TLockStatus::Busy) return std::nullopt;
    TDocumentResult busy = Failure(BusyMessage(kind == TLockKind::Exclusive, lockWait_));
    busy.Busy = true;
    return busy;
}

TDocumentResult TRadargramDocument::WriteJournalled(const std::filesystem::path& path,
                                                    TRadarLayout layout, bool packed,
                                                    const std::string& description) {
    TRadarFileLock lock;
    if (auto busy = Lock(path, TLockKind::Exclusive, lock)) return *busy;
    return WriteLocked(path, layout, packed, description);
}

TDocumentResult TRadargramDocument::WriteLocked(const std::filesystem::path& path,
                                                TRadarLayout layout, bool packed,
                                                const std::string& description,
                                                const TWriteProgress& progress) {
    TWriteStatus status = TWriteStatus::Ok;
    const auto file = OpenFileForWrite(model_, path, status);
    if (!file) return WriteOutcome({1, status});
    if (auto refused = ChangedSinceRead(*file)) return *refused;

    const TFileStamp before = file->Stamp();
    TWriteResult written{1, TWriteStatus::NotLoaded};
    TJournalInfo label;
    label.Description = description;
    label.LayoutBefore = layout_;
    // A packed file reads as GPR: its traces lie without gaps.
    label.LayoutAfter = packed ? TRadarLayout::Gpr : layout;
    const THistoryOutcome outcome = history_.Change(
        model_.SourcePath(), *file,
        [&](TRadarFile& stand) {
            written = WriteRadargramTo(model_, stand, layout, packed);
            return written.Code == 0;
        },
        label, keepHistory_, progress, PathNames(path, *file));
    if (const auto failure = ChangeFailureMessage(outcome.Status, written.Status)) {
        TDocumentResult refused = Failure(failure);
        refused.ChangedOnDisk = outcome.Status == THistoryStatus::ChangedOnDisk;
        return refused;
    }
    if (outcome.Status == THistoryStatus::Cancelled) {
        TDocumentResult stopped;
        stopped.Cancelled = true;
        return stopped;
    }

    stamp_ = file->Stamp();
    // The gap bytes were taken with the file as it was; they still are what it holds.
    TGapBytes& gaps = model_.GapBytes();
    if (gaps.Valid && gaps.Stamp == before) gaps.Stamp = *stamp_;
    layout_ = layout;
    Notify(TDocumentChange::Written);
    TDocumentResult done;
    done.Warning = outcome.Warning;
    return done;
}

TDocumentResult TRadargramDocument::Change(const TModelEdit& edit, const TWriteProgress& progress) {
    // Copied: a failed change reads the file again, which replaces the path.
    const std::filesystem::path path = path_;
    return Change(path, layout_, edit, progress);
}

TDocumentResult TRadargramDocument::Change(const std::filesystem::path& path, TRadarLayout layout,
                                           const TModelEdit& edit, const TWriteProgress& progress) {
    if (auto unread = RequireRead(); !unread.Ok()) return unread;
    if (progress && !progress(0.0)) {
        TDocumentResult stopped;
        stopped.Cancelled = true;
        return stopped;
    }
    TDocumentResult result;
    {
        // Locked before the edit touches the model: a busy file leaves the model as it was.
        TRadarFileLock lock;
        if (auto busy = Lock(path, TLockKind::Exclusive, lock)) return *busy;
        edit.Apply(model_);
        result = WriteLocked(path, layout, false, edit.Description, progress);
    }
    if (result.Ok() && !result.Cancelled) {
        if (progress) progress(1.0);
        return result;
    }
    // The file kept its bytes: the model follows it, the failure (or the stop) is what the caller
    // reports.
    // Should that read fail too, the model still holds an edit the file never got: nothing is
    // written from it until a read succeeds.
    if (!ReadAgain().Ok()) model_.MarkSamplesDamaged();
    return result;
}

TDocumentResult TRadargramDocument::Undo(const TWriteProgress& progress) {
    return Step(true, progress);
}

TDocumentResult TRadargramDocument::Redo(const TWriteProgress& progress) {
    return Step(false, progress);
}

TDocumentResult TRadargramDocument::Step(bool undo, const TWriteProgress& progress) {
    if (auto unread = RequireRead(); !unread.Ok()) return unread;
    TDocumentResult stopped;
    stopped.Cancelled = true;
    if (progress && !progress(0.0)) return stopped;
    THistoryOutcome outcome;
    {
        TRadarFileLock lock;
        if (auto busy = Lock(path_, TLockKind::Exclusive, lock)) return *busy;
        TWriteStatus status = TWriteStatus::Ok;
        const auto file = OpenFileForWrite(model_, path_, status);
        if (!file) return WriteOutcome({1, status});
        if (auto refused = ChangedSinceRead(*file)) return *refused;

        const TPathCheck pathCheck = PathNames(path_, *file);
        outcome = undo ? history_.Undo(model_.SourcePath(), *file, progress, pathCheck)
                       : history_.Redo(model_.SourcePath(), *file, progress, pathCheck);
        // Taken back, the file holds the model's bytes again under a new modification time: the
        // next command must not take that for another program's edit.
        if (outcome.Status == THistoryStatus::Cancelled ||
            outcome.Status == THistoryStatus::RolledBack)
            stamp_ = file->Stamp();
        if (outcome.Status == THistoryStatus::Cancelled) return stopped;
        if (const auto failure = StepFailureMessage(outcome, undo)) {
            TDocumentResult refused = Failure(failure);
            refused.ChangedOnDisk = outcome.Status == THistoryStatus::ChangedOnDisk;
            return refused;
        }
        stamp_ = file->Stamp();
    }
    // The read that follows shares the file again; the lock of the step is given up first.
    Notify(TDocumentChange::Written);
    const std::filesystem::path path = path_;
    TDocumentResult read = Open(path, outcome.Layout);
    if (read.Ok()) read.Warning = outcome.Warning;
    if (read.Ok() && progress) progress(1.0);
    return read;
}

std::vector<THistoryEntry> TRadargramDocument::History() {
    if (!model_.HasHeader()) return {};
    const auto file = OpenRadarFile(path_);
    if (!file || ChangedSinceRead(*file)) return {};
    return history_.Entries(model_.SourcePath(), *file);
}

std::optional<TDocumentResult> TRadargramDocument::ChangedSinceRead(const TRadarFile& file) const {
    const TFileStamp now = file.Stamp();
    if (!stamp_ || now == *stamp_) return std::nullopt;
    TDocumentResult refused = Failure(ChangedOnDiskMessage(*stamp_, now));
    refused.ChangedOnDisk = true;
    return refused;
}

TDocumentResult TRadargramDocument::RequireRead() const {
    if (model_.HasHeader()) return {};
    return Failure(WriteFailureMessage(TWriteStatus::NotLoaded));
}

void TRadargramDocument::RefillHeaderTable() {
    profileLength_ = FillHeaderTable(headerTable_, model_.Header());
    Notify(TDocumentChange::HeaderTable);
}

void TRadargramDocument::FillTables() {
    profileLength_ = FillHeaderTable(headerTable_, model_.Header());
    labelCounts_ = FillReadLabelTable(readLabelTable_, model_);
}

int TRadargramDocument::Subscribe(TObserver observer) {
    observers_.emplace_back(nextKey_, std::move(observer));
    return nextKey_++;
}

void TRadargramDocument::Unsubscribe(int key) {
    std::erase_if(observers_, [key](const auto& entry) { return entry.first == key; });
}

void TRadargramDocument::Notify(TDocumentChange change) {
    // By key, over a copy of the keys: an observer may subscribe or unsubscribe (itself or
    // another) while it is told, and one unsubscribed meanwhile is not told any more.
    std::vector<int> keys;
    keys.reserve(observers_.size());
    for (const auto& entry : observers_) keys.push_back(entry.first);
    for (const int key : keys) {
        const auto it = std::find_if(observers_.begin(), observers_.end(),
                                     [key](const auto& entry) { return entry.first == key; });
        if (it == observers_.end()) continue;
        // A copy: the observer may unsubscribe itself while it runs.
        const TObserver observer = it->second;
        observer(change);
    }
}

}  // namespace trelvanox

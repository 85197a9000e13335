#include "document/file_history.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

#include "common/user_folders.h"
#include "settings/durable_file.h"

namespace trelvanox {

namespace fs = std::filesystem;

namespace {

constexpr const char* kIndexName = "index";
constexpr const char* kIndexTitle = "trelvanox-history 1";

enum class TPendingKind { Write, Undo, Redo };

struct TStepRecord {
    std::string File;
    bool Applied = true;
};

// What the index of one file's folder holds.
struct THistoryIndex {
    std::string Path;
    TFileStamp Stamp;
    std::optional<std::string> Pending;
    TPendingKind PendingKind = TPendingKind::Write;
    std::vector<TStepRecord> Steps;
};

const char* KindName(TPendingKind kind) {
    switch (kind) {
        case TPendingKind::Undo:
            return "undo";
        case TPendingKind::Redo:
            return "redo";
        case TPendingKind::Write:
            break;
    }
    return "write";
}

std::optional<THistoryIndex> LoadIndex(const fs::path& folder) {
    std::ifstream in(folder / kIndexName, std::ios::binary);
    std::string line;
    if (!in || !std::getline(in, line) || line != kIndexTitle) return std::nullopt;
    THistoryIndex index;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string key;
        fields >> key;
        if (key == "path") {
            std::getline(fields >> std::ws, index.Path);
        } else if (key == "stamp") {
            fields >> index.Stamp.Size >> index.Stamp.ModifiedNs >> index.Stamp.Device >>
                index.Stamp.Inode;
        } else if (key == "pending") {
            std::string file;
            std::string kind;
            fields >> file >> kind;
            index.Pending = file;
            index.PendingKind = kind == "undo"   ? TPendingKind::Undo
                                : kind == "redo" ? TPendingKind::Redo
                                                 : TPendingKind::Write;
        } else if (key == "step") {
            TStepRecord step;
            std::string state;
            fields >> step.File >> state;
            step.Applied = state != "undone";
            index.Steps.push_back(step);
        }
        if (fields.fail()) return std::nullopt;
    }
    return index;
}

// How a replacement of the index ended: once renamed, the new index is what the folder holds,
// whether or not its folder entry could be synced.
enum class TSaved { Saved, NotDurable, Failed };

TSaved SaveIndex(const TJournalFiles& files, const fs::path& folder, const THistoryIndex& index) {
    std::ostringstream out;
    out << kIndexTitle << '\n' << "path " << index.Path << '\n';
    out << "stamp " << index.Stamp.Size << ' ' << index.Stamp.ModifiedNs << ' '
        << index.Stamp.Device << ' ' << index.Stamp.Inode << '\n';
    if (index.Pending)
        out << "pending " << *index.Pending << ' ' << KindName(index.PendingKind) << '\n';
    for (const TStepRecord& step : index.Steps)
        out << "step " << step.File << ' ' << (step.Applied ? "applied" : "undone") << '\n';
    bool renamed = false;
    if (ReplaceFileDurably(folder / kIndexName, out.str(), {}, &renamed, files.SyncIndexFolder))
        return TSaved::Saved;
    return renamed ? TSaved::NotDurable : TSaved::Failed;
}

constexpr const char* kNotDurable =
    "Изменение записано, но не удалось убедиться, что журнал изменений файла сохранён на диске "
    "(сбой синхронизации папки истории). При отключении питания история изменений может быть "
    "утеряна.";

void RemoveFiles(const fs::path& folder, const std::vector<std::string>& files) {
    std::error_code ec;
    for (const std::string& file : files) fs::remove(folder / file, ec);
    if (!files.empty()) SyncFolder(folder);
}

// Forgets the whole history of a folder: the index first, so that no step outlives it.
void DropHistory(const fs::path& folder, const THistoryIndex& index) {
    std::error_code ec;
    fs::remove(folder / kIndexName, ec);
    std::vector<std::string> files;
    for (const TStepRecord& step : index.Steps) files.push_back(step.File);
    RemoveFiles(folder, files);
}

std::string NextStepName(const fs::path& folder) {
    unsigned long long last = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() == 13 && name.ends_with(".step"))
            last = std::max(last, std::strtoull(name.c_str(), nullptr, 10));
    }
    char name[32];
    std::snprintf(name, sizeof name, "%08llu.step", last + 1);
    return name;
}

std::uint64_t SizeOfFile(const fs::path& path) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    return ec ? 0 : size;
}

std::int64_t Now() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::string Quoted(const std::string& text) {
    return "«" + text + "»";
}

THistoryOutcome Outcome(THistoryStatus status, std::string description = {}) {
    THistoryOutcome outcome;
    outcome.Status = status;
    outcome.Description = std::move(description);
    return outcome;
}

std::string CannotRead(const fs::path& journal) {
    return "Не удалось прочитать журнал " + journal.string() +
           ". Файл не изменён, история изменений сохранена.";
}

// Makes a new folder (and the folders above it that were made with it) durable in its parent.
bool MakeFolder(const fs::path& folder) {
    std::error_code ec;
    fs::path missing = folder;
    while (missing.has_parent_path() && missing.parent_path() != missing &&
           !fs::exists(missing.parent_path(), ec))
        missing = missing.parent_path();
    const bool made = fs::create_directories(folder, ec);
    if (ec) return false;
    if (made)
        for (fs::path at = folder; at != missing.parent_path(); at = at.parent_path())
            SyncFolder(at.parent_path());
    return true;
}

// The share [from, from + span) of a whole change, undo or redo, told to progress; stopped
// becomes true at the first stop and stays so.
TByteProgress Phase(const TWriteProgress& progress, bool& stopped, double from, double span) {
    if (!progress) return {};
    return [&progress, &stopped, from, span](std::uint64_t done, std::uint64_t total) {
        const double part = total == 0 ? 1.0 : static_cast<double>(done) / total;
        stopped = stopped || !progress(from + span * part);
        return !stopped;
    };
}

// Keeps a damaged journal under another name beside the others, where no index names it.
fs::path SetAside(const fs::path& journal) {
    fs::path aside = journal;
    aside += ".damaged-" + std::to_string(Now());
    std::error_code ec;
    fs::rename(journal, aside, ec);
    if (ec) return journal;
    SyncFolder(journal.parent_path());
    return aside;
}

}  // namespace

namespace {

// A journal opened for reading and verified whole, before anything of it is used. Unreadable
// when it could not be opened or read, which proves nothing against it; Damaged when the index
// names it and it is not there.
struct TOpenedJournal {
    std::unique_ptr<TRadarFile> File;
    TJournalInfo Info;
    TJournalState State = TJournalState::Unreadable;
    bool Present = false;
};

TOpenedJournal OpenJournal(const TJournalFiles& files, const fs::path& path) {
    TOpenedJournal opened;
    std::error_code ec;
    opened.Present = fs::exists(path, ec);
    opened.File = files.Open(path);
    if (opened.File)
        opened.State = VerifyJournal(*opened.File, &opened.Info);
    else if (!opened.Present && !ec)
        opened.State = TJournalState::Damaged;
    return opened;
}

}  // namespace

fs::path DefaultStateFolder() {
    return UserStateFolder();
}

TFileHistory::TFileHistory(fs::path stateFolder, std::uint64_t limitBytes, TJournalFiles files)
    : stateFolder_(std::move(stateFolder)), limitBytes_(limitBytes), files_(std::move(files)) {}

fs::path TFileHistory::PathFolderOf(const fs::path& path) const {
    if (stateFolder_.empty()) {
        std::string hidden = ".";
        hidden += path.filename().string();
        hidden += ".trelvanox";
        return path.parent_path() / hidden;
    }
    // FNV-1a of the resolved path: one folder per file, whatever characters its name has.
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : path.string()) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    char name[17];
    std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(hash));
    return stateFolder_ / "files" / name;
}

fs::path TFileHistory::FolderOf(const fs::path& path, const TRadarFile& target) const {
    // Without a state folder the history lives beside the file, under its name.
    if (stateFolder_.empty()) return PathFolderOf(path);
    const TFileStamp stamp = target.Stamp();
    char name[48];
    std::snprintf(name, sizeof name, "id-%llx-%llx", static_cast<unsigned long long>(stamp.Device),
                  static_cast<unsigned long long>(stamp.Inode));
    return stateFolder_ / "files" / name;
}

fs::path TFileHistory::Locate(const fs::path& path, const TRadarFile& target) {
    const fs::path folder = FolderOf(path, target);
    const fs::path byPath = PathFolderOf(path);
    std::error_code ec;
    if (folder == byPath || fs::exists(folder / kIndexName, ec) ||
        !fs::exists(byPath / kIndexName, ec))
        return folder;
    // A history kept under the path by an earlier version: it moves to the file's identity when
    // it is this file's, so its other names find it too.
    const auto index = LoadIndex(byPath);
    const TFileStamp stamp = target.Stamp();
    if (!index || index->Stamp.Device != stamp.Device || index->Stamp.Inode != stamp.Inode)
        return folder;
    if (!MakeFolder(folder.parent_path())) return byPath;
    fs::remove(folder, ec);  // an empty folder left by a refused change
    fs::rename(byPath, folder, ec);
    if (ec) return byPath;
    SyncFolder(folder.parent_path());
    return folder;
}

bool TFileHistory::NeedsRecovery(const fs::path& path, const TRadarFile& target) {
    const auto index = LoadIndex(Locate(path, target));
    return index && (index->Pending || index->Stamp != target.Stamp());
}

std::vector<std::string> TFileHistory::Recover(const fs::path& path, TRadarFile& target) {
    const fs::path folder = Locate(path, target);
    auto index = LoadIndex(folder);
    if (!index) return {};
    std::vector<std::string> messages;

    if (index->Pending) {
        const fs::path journalPath = folder / *index->Pending;
        TOpenedJournal opened = OpenJournal(files_, journalPath);
        const auto& journal = opened.File;
        const TJournalInfo& info = opened.Info;
        const TJournalState state = opened.State;
        // An error reading the journal proves nothing: it stays for the next read, and the
        // history with it.
        if (state == TJournalState::Unreadable)
            return {"Предыдущая запись файла была прервана, но " + CannotRead(journalPath)};
        if (state == TJournalState::Valid) {
            const TJournalMatch match = CheckJournal(target, *journal);
            // A change put back the old side; an undo or a redo in progress put back the side
            // it started from.
            const TJournalSide before =
                index->PendingKind == TPendingKind::Undo ? TJournalSide::New : TJournalSide::Old;
            // A journal that is the file's own but could not be put back (the disk refused a
            // write) stays pending: the next read tries again. Set aside, it would leave the
            // file torn. So does one that could not be compared with the file at this moment: a
            // read that failed proves nothing against the journal.
            if ((match == TJournalMatch::Matches && !ApplyJournal(target, *journal, before)) ||
                match == TJournalMatch::Unreadable)
                return {"Предыдущая запись файла (" + Quoted(info.Description) +
                        ") была прервана, и восстановить файл сейчас не удалось. Файл будет "
                        "восстановлен при следующем чтении."};
            if (match == TJournalMatch::Matches) {
                const bool wasChange = index->PendingKind == TPendingKind::Write;
                index->Pending.reset();
                index->Stamp = target.Stamp();
                const std::string restored =
                    "Предыдущая запись файла (" + Quoted(info.Description) +
                    ") была прервана. Файл восстановлен в том виде, каким он был до неё.";
                // A history that cannot be written (a read-only disk) still lets the file be
                // restored; the journal stays pending and is found matching next time.
                const TSaved saved = SaveIndex(files_, folder, *index);
                if (saved == TSaved::Failed)
                    return {restored +
                            " Журнал изменений обновить не удалось; он будет "
                            "проверен снова при следующем чтении."};
                if (wasChange) RemoveFiles(folder, {journalPath.filename().string()});
                messages.push_back(restored);
                if (saved == TSaved::NotDurable) messages.push_back(kNotDurable);
                return messages;
            }
        }
        // Never applied to a file it does not describe, nor when it is damaged: the whole
        // folder is kept aside for whoever wants to look.
        const fs::path aside = folder.parent_path() /
                               (folder.filename().string() + ".rejected-" + std::to_string(Now()));
        std::error_code ec;
        fs::rename(folder, aside, ec);
        if (!ec) SyncFolder(folder.parent_path());
        const fs::path keptAt = ec ? folder : aside;
        const std::string why =
            state == TJournalState::Valid
                ? "Найден журнал прерванной записи файла, но файл с тех пор изменён или заменён. "
                : "Найден журнал прерванной записи файла " + journalPath.string() +
                      ", но он повреждён. Файл оставлен как есть. ";
        messages.push_back(why + "Журнал не применён и отложен в папку " + keptAt.string() +
                           ". История изменений файла удалена.");
        if (ec) DropHistory(folder, *index);
        return messages;
    }

    if (index->Stamp != target.Stamp()) {
        DropHistory(folder, *index);
        // A history kept under another name whose file is not as it left it is most likely
        // that of a deleted file whose identity the system gave to this one: nothing to say.
        if (index->Path != path.string()) return messages;
        messages.push_back(
            "Файл изменён другой программой после последнего изменения в этой программе. История "
            "изменений файла удалена.");
    }
    return messages;
}

THistoryOutcome TFileHistory::Change(const fs::path& path, TRadarFile& target,
                                     const TChangeWriter& write, const TJournalInfo& label,
                                     bool keepStep, const TWriteProgress& progress,
                                     const TPathCheck& pathCheck) {
    bool stopped = false;
    const auto phase = [&](double from, double span) {
        return Phase(progress, stopped, from, span);
    };
    const std::string& description = label.Description;
    TJournalInfo stamped = label;
    stamped.Time = Now();
    const fs::path folder = Locate(path, target);
    if (!MakeFolder(folder)) return Outcome(THistoryStatus::JournalFailed, description);
    auto index = LoadIndex(folder);
    // An interrupted change not yet put right must stay for the next read to finish: writing
    // over it would lose the old bytes it keeps.
    if (index && index->Pending) return Outcome(THistoryStatus::Interrupted, description);
    // A history whose last state is not this file's leads nowhere.
    if (index && index->Stamp != target.Stamp()) {
        DropHistory(folder, *index);
        index.reset();
    }
    if (!index) index = THistoryIndex{path.string(), target.Stamp(), std::nullopt, {}, {}};

    const std::string name = NextStepName(folder);
    const fs::path journalPath = folder / name;
    const auto journal = files_.Create(journalPath);
    if (!journal) return Outcome(THistoryStatus::JournalFailed, description);
    bool writerOk = true;
    bool journalFailed = false;
    const TChangeWriter writer = [&](TRadarFile& file) {
        writerOk = write(file);
        return writerOk;
    };
    // The journal keeps the old bytes and checksums of the new ones; the writer runs again to
    // put the new ones into the file, checked against those checksums.
    TChangePlan plan;
    const auto recorded =
        RecordChange(target, *journal, writer, stamped, &journalFailed, phase(0.0, 0.5), &plan);
    if (!recorded || recorded->RecordCount == 0 || !SyncFolder(folder)) {
        RemoveFiles(folder, {name});
        if (stopped) return Outcome(THistoryStatus::Cancelled, description);
        // A journal write failing under the writer makes the writer fail too: not its fault.
        if (!writerOk && !journalFailed) return Outcome(THistoryStatus::WriterFailed, description);
        if (recorded && recorded->RecordCount == 0)
            return Outcome(THistoryStatus::Unchanged, description);
        return Outcome(THistoryStatus::JournalFailed, description);
    }

    // Another program that wrote the file while it was compared, or put another file at its
    // path, is never overwritten: nothing has been written yet.
    if (target.Stamp() != recorded->Before || (pathCheck && !pathCheck())) {
        RemoveFiles(folder, {name});
        return Outcome(THistoryStatus::ChangedOnDisk, description);
    }

    index->Pending = name;
    index->PendingKind = TPendingKind::Write;
    if (const TSaved pending = SaveIndex(files_, folder, *index); pending != TSaved::Saved) {
        // An index that names the journal (renamed, only its folder not synced) must never lose
        // it: it is taken back first, and the journal goes only once no index names it.
        THistoryIndex clean = *index;
        clean.Pending.reset();
        if (pending == TSaved::Failed || SaveIndex(files_, folder, clean) != TSaved::Failed)
            RemoveFiles(folder, {name});
        return Outcome(THistoryStatus::JournalFailed, description);
    }

    const auto rollBack = [&]() -> THistoryOutcome {
        if (!ApplyJournal(target, *journal, TJournalSide::Old))
            return Outcome(THistoryStatus::Interrupted, description);
        index->Pending.reset();
        index->Stamp = target.Stamp();
        if (SaveIndex(files_, folder, *index) == TSaved::Failed)
            return Outcome(THistoryStatus::Interrupted, description);
        RemoveFiles(folder, {name});
        return Outcome(THistoryStatus::RolledBack, description);
    };
    if (!WriteChange(target, *recorded, plan, writer, phase(0.5, 0.5))) {
        THistoryOutcome back = rollBack();
        if (stopped && back.Status == THistoryStatus::RolledBack)
            back.Status = THistoryStatus::Cancelled;
        return back;
    }

    // A file replaced at the path meanwhile would take the change into a name no one reads.
    if (pathCheck && !pathCheck()) {
        THistoryOutcome back = rollBack();
        if (back.Status == THistoryStatus::RolledBack) back.Status = THistoryStatus::ChangedOnDisk;
        return back;
    }

    THistoryIndex committed = *index;
    committed.Pending.reset();
    committed.Stamp = target.Stamp();
    std::vector<std::string> dropped;
    // A new change after an undo leaves the undone steps without a file they lead from.
    std::erase_if(committed.Steps, [&](const TStepRecord& step) {
        if (!step.Applied) dropped.push_back(step.File);
        return !step.Applied;
    });
    if (keepStep) {
        committed.Steps.push_back({name, true});
        std::uint64_t total = 0;
        for (const TStepRecord& step : committed.Steps) total += SizeOfFile(folder / step.File);
        while (!committed.Steps.empty() && total > limitBytes_) {
            total -= SizeOfFile(folder / committed.Steps.front().File);
            dropped.push_back(committed.Steps.front().File);
            committed.Steps.erase(committed.Steps.begin());
        }
    } else {
        for (const TStepRecord& step : committed.Steps) dropped.push_back(step.File);
        committed.Steps.clear();
        dropped.push_back(name);
    }
    // Renamed is committed: the change is made and the index says so, whatever its folder's
    // sync said afterwards. Only an index that was not replaced takes the change back.
    const TSaved saved = SaveIndex(files_, folder, committed);
    if (saved == TSaved::Failed) return rollBack();
    RemoveFiles(folder, dropped);
    THistoryOutcome done = Outcome(THistoryStatus::Done, description);
    if (saved == TSaved::NotDurable) done.Warning = kNotDurable;
    return done;
}

TJournalMatch TFileHistory::KeepNewSide(const fs::path& folder, const std::string& step,
                                        TRadarFile& target, std::unique_ptr<TRadarFile>& journal,
                                        bool& failed, const TByteProgress& progress) {
    // Written beside the step and renamed over it once durable: until then the step is the
    // journal as the change wrote it, which still undoes it.
    const std::string keptName = step + ".kept";
    const fs::path kept = folder / keptName;
    auto full = files_.Create(kept);
    failed = !full;
    if (!full) return TJournalMatch::Matches;
    const TJournalMatch match = trelvanox::KeepNewSide(target, *journal, *full, &failed, progress);
    full.reset();
    if (match != TJournalMatch::Matches || failed) {
        RemoveFiles(folder, {keptName});
        return match;
    }
    // Closed first: a file that is open cannot be replaced everywhere.
    journal.reset();
    std::error_code ec;
    fs::rename(kept, folder / step, ec);
    if (ec) RemoveFiles(folder, {keptName});
    // Either journal undoes the step; the one named must be on the disk before the file changes.
    failed = ec || !SyncFolder(folder);
    if (!failed) {
        journal = files_.Open(folder / step);
        failed = !journal;
    }
    return TJournalMatch::Matches;
}

THistoryOutcome TFileHistory::Undo(const fs::path& path, TRadarFile& target,
                                   const TWriteProgress& progress, const TPathCheck& pathCheck) {
    return Step(path, target, true, progress, pathCheck);
}

THistoryOutcome TFileHistory::Redo(const fs::path& path, TRadarFile& target,
                                   const TWriteProgress& progress, const TPathCheck& pathCheck) {
    return Step(path, target, false, progress, pathCheck);
}

THistoryOutcome TFileHistory::Step(const fs::path& path, TRadarFile& target, bool undo,
                                   const TWriteProgress& progress, const TPathCheck& pathCheck) {
    bool stopped = false;
    const fs::path folder = Locate(path, target);
    auto index = LoadIndex(folder);
    if (index && index->Pending) return Outcome(THistoryStatus::Interrupted);
    if (!index || index->Steps.empty()) return Outcome(THistoryStatus::NothingToUndo);
    if (index->Stamp != target.Stamp()) {
        DropHistory(folder, *index);
        return Outcome(THistoryStatus::HistoryLost);
    }

    // Undo takes the newest applied step, redo the oldest undone one.
    const auto applied = std::find_if(index->Steps.rbegin(), index->Steps.rend(),
                                      [](const TStepRecord& s) { return s.Applied; });
    auto step = index->Steps.end();
    if (undo && applied != index->Steps.rend()) step = std::prev(applied.base());
    if (!undo) step = applied.base();
    if (step == index->Steps.end()) return Outcome(THistoryStatus::NothingToUndo);

    const fs::path journalPath = folder / step->File;
    TOpenedJournal opened = OpenJournal(files_, journalPath);
    // Only an undo takes the new side from the file; a step to redo keeps both sides, and one
    // that does not cannot be redone.
    if (opened.State == TJournalState::Valid && !undo && !opened.Info.NewSideKept)
        opened.State = TJournalState::Damaged;
    auto& journal = opened.File;
    const TJournalInfo& info = opened.Info;
    const TJournalState state = opened.State;
    const bool present = opened.Present;
    if (state == TJournalState::Unreadable) {
        THistoryOutcome unread = Outcome(THistoryStatus::JournalUnreadable);
        unread.Detail = journalPath.string();
        return unread;
    }
    if (state != TJournalState::Valid) {
        // Never applied. The steps beyond it (older for an undo, newer for a redo) cannot be
        // reached without it, so they go; the file stays as it is.
        THistoryOutcome damaged = Outcome(THistoryStatus::JournalDamaged);
        damaged.Detail = (present ? SetAside(journalPath) : journalPath).string();
        std::vector<std::string> gone;
        const auto first = undo ? index->Steps.begin() : step;
        const auto last = undo ? std::next(step) : index->Steps.end();
        for (auto it = first; it != last; ++it)
            if (it->File != step->File) gone.push_back(it->File);
        index->Steps.erase(first, last);
        if (SaveIndex(files_, folder, *index) != TSaved::Failed) RemoveFiles(folder, gone);
        return damaged;
    }

    const TJournalSide from = undo ? TJournalSide::New : TJournalSide::Old;
    const TJournalSide to = undo ? TJournalSide::Old : TJournalSide::New;
    bool keptFailed = false;
    const TJournalMatch match =
        info.NewSideKept ? MatchSide(target, *journal, from, Phase(progress, stopped, 0, 0.5))
                         : KeepNewSide(folder, step->File, target, journal, keptFailed,
                                       Phase(progress, stopped, 0, 0.5));
    if (stopped) return Outcome(THistoryStatus::Cancelled, info.Description);
    if (keptFailed) return Outcome(THistoryStatus::JournalFailed, info.Description);
    switch (match) {
        case TJournalMatch::Matches:
            break;
        case TJournalMatch::Unreadable:
            // The journal was read a moment ago: the file is what failed to read.
            return Outcome(THistoryStatus::FileUnreadable, info.Description);
        case TJournalMatch::OtherFile:
        case TJournalMatch::ChangedSince:
            DropHistory(folder, *index);
            return Outcome(THistoryStatus::HistoryLost);
    }
    // Another file put at the path since it was opened is not this history's file: the step
    // is neither written into it nor lost.
    if (pathCheck && !pathCheck()) return Outcome(THistoryStatus::ChangedOnDisk, info.Description);

    index->Pending = step->File;
    index->PendingKind = undo ? TPendingKind::Undo : TPendingKind::Redo;
    if (const TSaved pending = SaveIndex(files_, folder, *index); pending != TSaved::Saved) {
        if (pending == TSaved::NotDurable) {
            index->Pending.reset();
            SaveIndex(files_, folder, *index);
        }
        return Outcome(THistoryStatus::JournalFailed, info.Description);
    }
    TSaved settled = TSaved::Failed;
    const auto settle = [&](bool appliedNow) {
        if (appliedNow) step->Applied = !undo;
        index->Pending.reset();
        index->Stamp = target.Stamp();
        settled = SaveIndex(files_, folder, *index);
        return settled != TSaved::Failed;
    };
    // A stop part way puts back the side that was there, as a failed write does; the step stays
    // where it was in the history.
    if (!ApplyJournal(target, *journal, to, nullptr, Phase(progress, stopped, 0.5, 0.5))) {
        if (!ApplyJournal(target, *journal, from) || !settle(false))
            return Outcome(THistoryStatus::Interrupted, info.Description);
        return Outcome(stopped ? THistoryStatus::Cancelled : THistoryStatus::RolledBack,
                       info.Description);
    }
    // A file replaced at the path while the step was written would take it into a name no one
    // reads: the step goes back and stays where it was in the history.
    if (pathCheck && !pathCheck()) {
        if (!ApplyJournal(target, *journal, from) || !settle(false))
            return Outcome(THistoryStatus::Interrupted, info.Description);
        return Outcome(THistoryStatus::ChangedOnDisk, info.Description);
    }
    if (!settle(true)) {
        if (!ApplyJournal(target, *journal, from))
            return Outcome(THistoryStatus::Interrupted, info.Description);
        return Outcome(THistoryStatus::RolledBack, info.Description);
    }
    THistoryOutcome done = Outcome(THistoryStatus::Done, info.Description);
    done.Layout = undo ? info.LayoutBefore : info.LayoutAfter;
    if (settled == TSaved::NotDurable) done.Warning = kNotDurable;
    return done;
}

std::vector<THistoryEntry> TFileHistory::Entries(const fs::path& path, TRadarFile& target) {
    const fs::path folder = Locate(path, target);
    const auto index = LoadIndex(folder);
    if (!index || index->Pending || index->Stamp != target.Stamp()) return {};
    std::vector<THistoryEntry> entries;
    for (const TStepRecord& step : index->Steps) {
        const auto journal = files_.Open(folder / step.File);
        const auto info = journal ? ReadJournalInfo(*journal) : std::nullopt;
        if (!info) continue;
        entries.push_back(
            {info->Description, info->Time, SizeOfFile(folder / step.File), step.Applied});
    }
    return entries;
}

}  // namespace trelvanox

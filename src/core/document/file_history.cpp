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

bool SaveIndex(const fs::path& folder, const THistoryIndex& index) {
    std::ostringstream out;
    out << kIndexTitle << '\n' << "path " << index.Path << '\n';
    out << "stamp " << index.Stamp.Size << ' ' << index.Stamp.ModifiedNs << ' '
        << index.Stamp.Device << ' ' << index.Stamp.Inode << '\n';
    if (index.Pending)
        out << "pending " << *index.Pending << ' ' << KindName(index.PendingKind) << '\n';
    for (const TStepRecord& step : index.Steps)
        out << "step " << step.File << ' ' << (step.Applied ? "applied" : "undone") << '\n';
    return ReplaceFileDurably(folder / kIndexName, out.str());
}

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

}  // namespace

fs::path DefaultStateFolder() {
    return UserStateFolder();
}

TFileHistory::TFileHistory(fs::path stateFolder, std::uint64_t limitBytes, TJournalFiles files)
    : stateFolder_(std::move(stateFolder)), limitBytes_(limitBytes), files_(std::move(files)) {}

fs::path TFileHistory::FolderOf(const fs::path& path) const {
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

std::vector<std::string> TFileHistory::Recover(const fs::path& path, TRadarFile& target) {
    const fs::path folder = FolderOf(path);
    auto index = LoadIndex(folder);
    if (!index) return {};
    std::vector<std::string> messages;

    if (index->Pending) {
        const fs::path journalPath = folder / *index->Pending;
        const auto journal = files_.Open(journalPath);
        const auto info = journal ? ReadJournalInfo(*journal) : std::nullopt;
        const TJournalMatch match =
            info ? CheckJournal(target, *journal) : TJournalMatch::Unreadable;
        // A change put back the old side; an undo or a redo in progress put back the side it
        // started from.
        const TJournalSide before =
            index->PendingKind == TPendingKind::Undo ? TJournalSide::New : TJournalSide::Old;
        // A journal that is the file's own but could not be put back (the disk refused a write)
        // stays pending: the next read tries again. Set aside, it would leave the file torn.
        // So does one that could not be compared with the file at this moment: a read that
        // failed proves nothing against the journal.
        const bool retry =
            (match == TJournalMatch::Matches && !ApplyJournal(target, *journal, before)) ||
            (info && match == TJournalMatch::Unreadable);
        if (retry)
            return {"Предыдущая запись файла (" + Quoted(info->Description) +
                    ") была прервана, и восстановить файл сейчас не удалось. Файл будет "
                    "восстановлен при следующем чтении."};
        if (match == TJournalMatch::Matches) {
            const bool wasChange = index->PendingKind == TPendingKind::Write;
            index->Pending.reset();
            index->Stamp = target.Stamp();
            if (!SaveIndex(folder, *index)) return {"Не удалось сохранить журнал изменений файла."};
            if (wasChange) RemoveFiles(folder, {journalPath.filename().string()});
            messages.push_back("Предыдущая запись файла (" + Quoted(info->Description) +
                               ") была прервана. Файл восстановлен в том виде, каким он был до "
                               "неё.");
            return messages;
        }
        // Never applied to a file it does not describe: kept aside for whoever wants to look.
        const fs::path aside = folder.parent_path() /
                               (folder.filename().string() + ".rejected-" + std::to_string(Now()));
        std::error_code ec;
        fs::rename(folder, aside, ec);
        messages.push_back(
            "Найден журнал прерванной записи файла, но файл с тех пор изменён или заменён. "
            "Журнал не применён и отложен в папку " +
            (ec ? folder : aside).string() + ". История изменений файла удалена.");
        if (ec) DropHistory(folder, *index);
        return messages;
    }

    if (index->Stamp != target.Stamp()) {
        DropHistory(folder, *index);
        messages.push_back(
            "Файл изменён другой программой после последнего изменения в этой программе. История "
            "изменений файла удалена.");
    }
    return messages;
}

THistoryOutcome TFileHistory::Change(const fs::path& path, TRadarFile& target,
                                     const TChangeWriter& write, const TJournalInfo& label,
                                     bool keepStep) {
    const std::string& description = label.Description;
    TJournalInfo stamped = label;
    stamped.Time = Now();
    const fs::path folder = FolderOf(path);
    std::error_code ec;
    fs::create_directories(folder, ec);
    auto index = LoadIndex(folder);
    // An interrupted change not yet put right must stay for the next read to finish: writing
    // over it would lose the old bytes it keeps.
    if (index && index->Pending) return {THistoryStatus::Interrupted, description};
    // A history whose last state is not this file's leads nowhere.
    if (index && index->Stamp != target.Stamp()) {
        DropHistory(folder, *index);
        index.reset();
    }
    if (!index) index = THistoryIndex{path.string(), target.Stamp(), std::nullopt, {}, {}};

    const std::string name = NextStepName(folder);
    const fs::path journalPath = folder / name;
    const auto journal = files_.Create(journalPath);
    if (!journal) return {THistoryStatus::JournalFailed, description};
    bool writerOk = true;
    bool journalFailed = false;
    const auto recorded = RecordChange(
        target, *journal,
        [&](TRadarFile& file) {
            writerOk = write(file);
            return writerOk;
        },
        stamped, &journalFailed);
    if (!recorded || recorded->RecordCount == 0 || !SyncFolder(folder)) {
        RemoveFiles(folder, {name});
        // A journal write failing under the writer makes the writer fail too: not its fault.
        if (!writerOk && !journalFailed) return {THistoryStatus::WriterFailed, description};
        if (recorded && recorded->RecordCount == 0) return {THistoryStatus::Unchanged, description};
        return {THistoryStatus::JournalFailed, description};
    }

    index->Pending = name;
    index->PendingKind = TPendingKind::Write;
    if (!SaveIndex(folder, *index)) {
        RemoveFiles(folder, {name});
        return {THistoryStatus::JournalFailed, description};
    }

    const auto rollBack = [&]() -> THistoryOutcome {
        if (!ApplyJournal(target, *journal, TJournalSide::Old))
            return {THistoryStatus::Interrupted, description};
        index->Pending.reset();
        index->Stamp = target.Stamp();
        if (!SaveIndex(folder, *index)) return {THistoryStatus::Interrupted, description};
        RemoveFiles(folder, {name});
        return {THistoryStatus::RolledBack, description};
    };
    if (!ApplyJournal(target, *journal, TJournalSide::New)) return rollBack();

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
    if (!SaveIndex(folder, committed)) return rollBack();
    RemoveFiles(folder, dropped);
    return {THistoryStatus::Done, description};
}

THistoryOutcome TFileHistory::Undo(const fs::path& path, TRadarFile& target) {
    return Step(path, target, true);
}

THistoryOutcome TFileHistory::Redo(const fs::path& path, TRadarFile& target) {
    return Step(path, target, false);
}

THistoryOutcome TFileHistory::Step(const fs::path& path, TRadarFile& target, bool undo) {
    const fs::path folder = FolderOf(path);
    auto index = LoadIndex(folder);
    if (index && index->Pending) return {THistoryStatus::Interrupted, {}};
    if (!index || index->Steps.empty()) return {THistoryStatus::NothingToUndo, {}};
    if (index->Stamp != target.Stamp()) {
        DropHistory(folder, *index);
        return {THistoryStatus::HistoryLost, {}};
    }

    // Undo takes the newest applied step, redo the oldest undone one.
    const auto applied = std::find_if(index->Steps.rbegin(), index->Steps.rend(),
                                      [](const TStepRecord& s) { return s.Applied; });
    auto step = index->Steps.end();
    if (undo && applied != index->Steps.rend()) step = std::prev(applied.base());
    if (!undo) step = applied.base();
    if (step == index->Steps.end()) return {THistoryStatus::NothingToUndo, {}};

    const auto journal = files_.Open(folder / step->File);
    const auto info = journal ? ReadJournalInfo(*journal) : std::nullopt;
    const TJournalSide from = undo ? TJournalSide::New : TJournalSide::Old;
    const TJournalSide to = undo ? TJournalSide::Old : TJournalSide::New;
    if (!info || !HoldsSide(target, *journal, from)) {
        DropHistory(folder, *index);
        return {THistoryStatus::HistoryLost, {}};
    }

    index->Pending = step->File;
    index->PendingKind = undo ? TPendingKind::Undo : TPendingKind::Redo;
    if (!SaveIndex(folder, *index)) return {THistoryStatus::JournalFailed, info->Description};
    const auto settle = [&](bool appliedNow) {
        if (appliedNow) step->Applied = !undo;
        index->Pending.reset();
        index->Stamp = target.Stamp();
        return SaveIndex(folder, *index);
    };
    if (!ApplyJournal(target, *journal, to)) {
        if (!ApplyJournal(target, *journal, from) || !settle(false))
            return {THistoryStatus::Interrupted, info->Description};
        return {THistoryStatus::RolledBack, info->Description};
    }
    if (!settle(true)) {
        if (!ApplyJournal(target, *journal, from))
            return {THistoryStatus::Interrupted, info->Description};
        return {THistoryStatus::RolledBack, info->Description};
    }
    return {THistoryStatus::Done, info->Description, undo ? info->LayoutBefore : info->LayoutAfter};
}

std::vector<THistoryEntry> TFileHistory::Entries(const fs::path& path, TRadarFile& target) {
    const fs::path folder = FolderOf(path);
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

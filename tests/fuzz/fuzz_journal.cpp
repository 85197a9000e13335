// A committed step and a pending journal replaced by any bytes, then undo, redo and recovery over
// them: the radargram must end as the change's old side, its new side, or as it was, and never
// take any other size. Journals of the first format carry no checksums, so for them only the
// absence of crashes and of writes out of bounds is checked.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#define XXH_INLINE_ALL
#include <xxhash.h>

#include "document/file_history.h"
#include "fuzz_scratch.h"

namespace {

using namespace trelvanox;
namespace fs = std::filesystem;
using TBytes = std::vector<std::uint8_t>;

// A small file and its change: two runs of bytes altered and the file grown, as a layout
// switch does.
const TBytes& OldSide() {
    static const TBytes bytes = [] {
        TBytes b(600);
        for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(i * 7 + 3);
        return b;
    }();
    return bytes;
}

const TBytes& NewSide() {
    static const TBytes bytes = [] {
        TBytes b = OldSide();
        for (std::size_t i = 100; i < 140; ++i) b[i] ^= 0xA5;
        b[300] ^= 0x01;
        b[301] ^= 0x80;
        b.resize(664, 0x3C);
        return b;
    }();
    return bytes;
}

std::string_view Text(const TBytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

TBytes ReadAll(const fs::path& path) {
    const auto file = OpenRadarFileForReading(path);
    if (!file) std::abort();
    TBytes bytes(file->Stamp().Size);
    std::span<std::byte> all = std::as_writable_bytes(std::span(bytes));
    if (!bytes.empty() && !file->ReadAt(0, std::span(&all, 1))) std::abort();
    return bytes;
}

// The file must be one of the allowed contents; with checksums it must be exactly one of them,
// without them at least of one of their sizes.
void Expect(const fs::path& path, const std::vector<const TBytes*>& allowed, bool checked) {
    const TBytes now = ReadAll(path);
    for (const TBytes* bytes : allowed) {
        if (checked ? now == *bytes : now.size() == bytes->size()) return;
    }
    if (checked) std::abort();
}

// The journal made this file's own: its identity put into the header, so that recovery gets past
// the identity check to the records. A header with a checksum is sealed again only when the
// fuzzer left it whole (its checksum still holds): a damaged header must stay damaged. Device
// and inode lie where every format has them.
TBytes OwnedBy(TBytes journal, const TFileStamp& stamp, bool checked) {
    if (journal.size() < 256) return journal;
    std::uint64_t stored = 0;
    std::memcpy(&stored, journal.data() + 248, 8);
    const bool whole = checked && stored == XXH3_64bits(journal.data(), 248);
    if (checked && !whole) return journal;
    std::memcpy(journal.data() + 16, &stamp.Device, 8);
    std::memcpy(journal.data() + 24, &stamp.Inode, 8);
    if (whole) {
        const std::uint64_t sum = XXH3_64bits(journal.data(), 248);
        std::memcpy(journal.data() + 248, &sum, 8);
    }
    return journal;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TBytes input(data, data + size);
    // Only the formats with checksums are bound to them.
    const bool checked = size >= 12 && (data[8] == 2 || data[8] == 3) && data[9] == 0 &&
                         data[10] == 0 && data[11] == 0;
    const fs::path folder = fuzz::ScratchFolder() / "journal";
    std::error_code error;
    fs::remove_all(folder, error);
    fs::create_directories(folder);
    const fs::path radargram = folder / "profile.GPR2";
    const fs::path state = folder / "state";
    const TBytes& oldSide = OldSide();
    const TBytes& newSide = NewSide();

    // A committed step whose journal is then replaced.
    fuzz::WriteFile(radargram, Text(oldSide));
    TFileHistory history(state);
    fs::path stepFolder;
    TBytes journal;
    {
        const auto file = OpenRadarFile(radargram);
        TJournalInfo label;
        label.Description = "Изменение";
        const auto outcome = history.Change(
            radargram, *file,
            [&](TRadarFile& target) {
                const std::span<const std::byte> all = std::as_bytes(std::span(newSide));
                return target.WriteAt(0, std::span(&all, 1));
            },
            label, true);
        if (outcome.Status != THistoryStatus::Done) std::abort();
        stepFolder = history.FolderOf(radargram, *file);
        journal = OwnedBy(input, file->Stamp(), checked);
    }
    fuzz::WriteFile(stepFolder / "00000001.step", Text(journal));
    for (const bool undo : {true, false, true}) {
        const auto file = OpenRadarFile(radargram);
        if (!file) std::abort();
        undo ? history.Undo(radargram, *file) : history.Redo(radargram, *file);
        Expect(radargram, {&oldSide, &newSide}, checked);
    }

    // A pending journal, the file torn part way through its change.
    fs::remove_all(state, error);
    TBytes torn = oldSide;
    for (std::size_t i = 0; i < 120; ++i) torn[i] = newSide[i];
    fuzz::WriteFile(radargram, Text(torn));
    {
        const auto file = OpenRadarFile(radargram);
        const TFileStamp stamp = file->Stamp();
        fs::create_directories(stepFolder);
        fuzz::WriteFile(stepFolder / "00000001.step", Text(OwnedBy(input, stamp, checked)));
        const std::string index = "trelvanox-history 1\npath " + radargram.string() + "\nstamp " +
                                  std::to_string(stamp.Size) + " " +
                                  std::to_string(stamp.ModifiedNs) + " " +
                                  std::to_string(stamp.Device) + " " + std::to_string(stamp.Inode) +
                                  "\npending 00000001.step write\n";
        fuzz::WriteFile(stepFolder / "index", index);
        TFileHistory restarted(state);
        restarted.Recover(radargram, *file);
    }
    Expect(radargram, {&oldSide, &torn}, checked);
    return 0;
}

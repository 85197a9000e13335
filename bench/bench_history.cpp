// Journalled writes of a maximal radargram (200000 traces x 512 samples, GPR2, about 418 MB)
// through the document: a header edit, a label write-back and a whole-file gain, each measured
// against today's full rewrite in place and against the plain references a user would compare
// them with: a read of the file (for the small edits, which should cost little more than reading
// the file) and a copy of the file (for the gain, which changes nearly every byte and so has to
// keep a copy of them in its journal).
//
// The state folder with the journals and the history lies beside the file, on the same
// filesystem, as it does for a user whose home holds the surveys. History is kept, as the
// program keeps it; between iterations, outside the timing, the file's history folder is read
// for the step's size and removed, so that every iteration starts from an empty history and the
// disk use stays at one step. Every edit alternates between two values (the gain between the
// factors 2 and 0.5) so that each iteration really changes the bytes, and an odd count of
// iterations is evened out at the end, so the file is left as it was generated.
//
// Every write ends with fsyncs, which measure the disk as much as our code; on a shared or
// virtual machine they scatter, so each case runs a few iterations and the summary takes the
// fastest repetition. Today's full rewrite costs the same whatever it changes (it writes every
// byte), so one measurement of it serves both the header and the label edit.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "amplitude/amplitude_operations.h"
#include "bench_file.h"
#include "document/file_history.h"
#include "document/radargram_document.h"
#include "document/write_journal.h"
#include "model/radar_file.h"
#include "model/radargram.h"
#include "model/radargram_io.h"

namespace {

namespace fs = std::filesystem;
using trelvanox::TRadarLayout;
using trelvanox::bench::BenchFilePath;
using trelvanox::bench::Clock;
using trelvanox::bench::ConsoleOptions;
using trelvanox::bench::EnsureBenchFile;
using trelvanox::bench::PlainCopy;
using trelvanox::bench::PlainRead;
using trelvanox::bench::SecondsSince;
using trelvanox::bench::TFastestReporter;

constexpr std::size_t kChunk = std::size_t{1} << 20;
constexpr double kEditTarget = 2.0;  // a header or label edit, to a read of the file
constexpr double kGainTarget = 2.2;  // a whole-file gain with its journal, to a copy of the file
constexpr double kMiB = 1024.0 * 1024.0;
constexpr int kReadIterations = 5;
constexpr int kWriteIterations = 4;  // even: every alternation ends where it began
constexpr int kLabelsChanged = 5;

struct TBenchContext {
    fs::path Path;
    fs::path CopyPath;
    fs::path StateFolder;
    std::uint64_t FileSize = 0;
    std::unique_ptr<trelvanox::TRadargramDocument> Document;
};

// The file's history folder, as the document's history names it.
fs::path HistoryFolder(const TBenchContext& ctx) {
    // Kept by the file's identity: the open file tells it.
    const auto file = trelvanox::OpenRadarFileForReading(ctx.Path);
    return trelvanox::TFileHistory(ctx.StateFolder)
        .FolderOf(ctx.Document->Model().SourcePath(), *file);
}

void DropHistoryFolder(const TBenchContext& ctx) {
    std::error_code ec;
    fs::remove_all(HistoryFolder(ctx), ec);
}

// What one journalled write left in the state folder: its step's size and header.
struct TStepSize {
    std::uint64_t JournalBytes = 0;
    std::uint64_t ChangedBytes = 0;
    std::uint64_t Records = 0;
};

std::optional<TStepSize> NewestStep(const TBenchContext& ctx) {
    const fs::path folder = HistoryFolder(ctx);
    std::error_code ec;
    fs::path newest;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        if (entry.path().extension() == ".step" &&
            (newest.empty() || entry.path().filename() > newest.filename()))
            newest = entry.path();
    }
    if (newest.empty()) return std::nullopt;
    const auto journal = trelvanox::OpenRadarFile(newest);
    const auto info = journal ? trelvanox::ReadJournalInfo(*journal) : std::nullopt;
    if (!info) return std::nullopt;
    return TStepSize{fs::file_size(newest, ec), info->ChangedBytes, info->RecordCount};
}

// Opens the document on the file again: after today's write, which goes around the document,
// the document rightly takes the file for one changed by another program.
bool Reopen(TBenchContext& ctx) {
    return ctx.Document->Open(ctx.Path, TRadarLayout::Gpr2).Ok();
}

// --- references ---

// read() of 1 MiB chunks into one reused buffer over the whole file.
void BenchPlainRead(benchmark::State& state, TBenchContext& ctx) {
    std::vector<char> buffer(kChunk);
    for (auto _ : state) {
        if (!PlainRead(ctx.Path, buffer, ctx.FileSize)) {
            state.SkipWithError("plain read failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(ctx.FileSize));
}

void BenchReadRadargram(benchmark::State& state, TBenchContext& ctx) {
    for (auto _ : state) {
        if (trelvanox::ReadRadargram(ctx.Document->Model(), ctx.Path, TRadarLayout::Gpr2).Code !=
            0) {
            state.SkipWithError("ReadRadargram failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(ctx.FileSize));
    if (!Reopen(ctx)) state.SkipWithError("cannot open the document again");
}

void BenchDocumentOpen(benchmark::State& state, TBenchContext& ctx) {
    for (auto _ : state) {
        if (!Reopen(ctx)) {
            state.SkipWithError("TRadargramDocument::Open failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(ctx.FileSize));
}

void BenchPlainCopy(benchmark::State& state, TBenchContext& ctx) {
    std::error_code ec;
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(ctx.CopyPath, ec);
        state.ResumeTiming();
        if (!PlainCopy(ctx.Path, ctx.CopyPath, ctx.FileSize)) {
            state.SkipWithError("plain copy failed");
            break;
        }
    }
    fs::remove(ctx.CopyPath, ec);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(ctx.FileSize));
}

// --- the edits: each alternates between two states of the model ---

// Operator name and start coordinate, as "Данные для записи" > "Заголовок" changes them.
class THeaderEdit {
  public:
    explicit THeaderEdit(trelvanox::TRadargram& model) : model_(model) {
        const auto& h = model.Header();
        start_ = h.StartCoordinate;
        std::memcpy(name_, h.OperatorName, sizeof name_);
    }
    void Set(bool changed) {
        auto& h = model_.Header();
        h.StartCoordinate = changed ? start_ + 12500 : start_;
        std::memcpy(h.OperatorName, name_, sizeof name_);
        if (changed) std::snprintf(h.OperatorName, sizeof h.OperatorName, "%s", "Operator 2");
    }

  private:
    trelvanox::TRadargram& model_;
    std::int64_t start_ = 0;
    char name_[sizeof(trelvanox::TRadarHeader::OperatorName)] = {};
};

// A few labels spread over the profile: the first letter of the text and the coordinate of the
// labelled trace, as a write-back of an edited table changes them.
class TLabelEdit {
  public:
    explicit TLabelEdit(trelvanox::TRadargram& model) : model_(model) {
        std::vector<std::uint32_t> labelled;
        const auto traces = model.TraceHeaders();
        for (std::uint32_t t = 0; t < traces.size(); ++t)
            if (traces[t].LabelIndex >= 2 && model.FindLabelRecord(traces[t].LabelIndex - 2))
                labelled.push_back(t);
        for (int i = 0; i < kLabelsChanged && !labelled.empty(); ++i) {
            const std::uint32_t t = labelled[labelled.size() * i / kLabelsChanged];
            const auto& record = model.LabelRecords()[traces[t].LabelIndex - 2];
            labels_.push_back({t, traces[t].Coordinate, record.LabelText[0]});
        }
    }
    bool Empty() const { return labels_.empty(); }
    void Set(bool changed) {
        for (const TLabel& label : labels_) {
            auto& trace = model_.TraceHeaders()[label.Trace];
            trace.Coordinate = changed ? label.Coordinate + 1000 : label.Coordinate;
            auto& record = model_.LabelRecords()[trace.LabelIndex - 2];
            record.LabelText[0] = changed ? (label.Letter == 'X' ? 'Y' : 'X') : label.Letter;
        }
    }

  private:
    struct TLabel {
        std::uint32_t Trace;
        std::int32_t Coordinate;
        char Letter;
    };
    trelvanox::TRadargram& model_;
    std::vector<TLabel> labels_;
};

// The gain over the whole radargram on every sample (the threshold lies above any amplitude).
void Gain(trelvanox::TRadargram& model, bool up) {
    const trelvanox::TGainTexts texts{up ? "2" : "0.5", trelvanox::TGainMode::Below, "1e30", ""};
    trelvanox::ApplyGain(model, trelvanox::WholeRadargramWindow(model.Header()), texts);
}

// --- today's write ---

// WriteRadargram in place, fsync included, after the change it stores.
void RunFullRewrite(benchmark::State& state, TBenchContext& ctx,
                    const std::function<void(bool)>& change) {
    if (!Reopen(ctx)) {
        state.SkipWithError("cannot open the document");
        return;
    }
    trelvanox::TRadargram& model = ctx.Document->Model();
    bool changed = false;
    double changeSeconds = 0;
    for (auto _ : state) {
        changed = !changed;
        const auto start = Clock::now();
        change(changed);
        changeSeconds += SecondsSince(start);
        if (trelvanox::WriteRadargram(model, ctx.Path, TRadarLayout::Gpr2).Code != 0) {
            state.SkipWithError("WriteRadargram failed");
            break;
        }
    }
    if (changed) {
        change(false);
        trelvanox::WriteRadargram(model, ctx.Path, TRadarLayout::Gpr2);
    }
    state.counters["change_ms"] =
        benchmark::Counter(changeSeconds * 1e3, benchmark::Counter::kAvgIterations);
    state.counters["file_MiB"] = static_cast<double>(ctx.FileSize) / kMiB;
    if (!Reopen(ctx)) state.SkipWithError("cannot open the document again");
}

// --- the journalled write through the document ---

void RunJournalled(benchmark::State& state, TBenchContext& ctx, const char* description,
                   const std::function<void(bool)>& change) {
    trelvanox::TRadargramDocument& doc = *ctx.Document;
    if (!Reopen(ctx)) {
        state.SkipWithError("cannot open the document");
        return;
    }
    doc.SetKeepHistory(true);
    DropHistoryFolder(ctx);
    bool changed = false;
    double changeSeconds = 0;
    TStepSize total;
    for (auto _ : state) {
        changed = !changed;
        const auto start = Clock::now();
        change(changed);
        changeSeconds += SecondsSince(start);
        if (!doc.Write(description).Ok()) {
            state.SkipWithError("TRadargramDocument::Write failed");
            break;
        }
        state.PauseTiming();
        const auto step = NewestStep(ctx);
        DropHistoryFolder(ctx);
        state.ResumeTiming();
        if (!step) {
            state.SkipWithError("the write left no history step");
            break;
        }
        total.JournalBytes += step->JournalBytes;
        total.ChangedBytes += step->ChangedBytes;
        total.Records += step->Records;
    }
    if (changed) {
        change(false);
        doc.SetKeepHistory(false);
        doc.Write(description);
        doc.SetKeepHistory(true);
    }
    DropHistoryFolder(ctx);
    const auto average = benchmark::Counter::kAvgIterations;
    state.counters["change_ms"] = benchmark::Counter(changeSeconds * 1e3, average);
    state.counters["journal_bytes"] =
        benchmark::Counter(static_cast<double>(total.JournalBytes), average);
    state.counters["file_bytes"] =
        benchmark::Counter(static_cast<double>(total.ChangedBytes), average);
    state.counters["records"] = benchmark::Counter(static_cast<double>(total.Records), average);
}

void BenchHeaderRewrite(benchmark::State& state, TBenchContext& ctx) {
    THeaderEdit edit(ctx.Document->Model());
    RunFullRewrite(state, ctx, [&](bool changed) { edit.Set(changed); });
}

void BenchGainRewrite(benchmark::State& state, TBenchContext& ctx) {
    RunFullRewrite(state, ctx, [&](bool up) { Gain(ctx.Document->Model(), up); });
}

void BenchHeaderEdit(benchmark::State& state, TBenchContext& ctx) {
    THeaderEdit edit(ctx.Document->Model());
    RunJournalled(state, ctx, "Редактирование заголовка", [&](bool changed) { edit.Set(changed); });
}

void BenchLabelEdit(benchmark::State& state, TBenchContext& ctx) {
    TLabelEdit edit(ctx.Document->Model());
    if (edit.Empty()) {
        state.SkipWithError("the file has no labels with text");
        return;
    }
    RunJournalled(state, ctx, "Редактирование меток", [&](bool changed) { edit.Set(changed); });
}

void BenchGain(benchmark::State& state, TBenchContext& ctx) {
    RunJournalled(state, ctx, "Усиление амплитуд",
                  [&](bool up) { Gain(ctx.Document->Model(), up); });
}

// --- the summary ---

void PrintCase(const TFastestReporter& reporter, const char* label, const char* name,
               const char* rewrite, const char* referenceName, double reference, double target) {
    const auto seconds = reporter.Seconds(name);
    if (!seconds) {
        std::printf("  %-26s did not run\n", label);
        return;
    }
    const double ratio = *seconds / reference;
    std::printf("  %-26s %8.1f ms  %5.2fx %s  [within %.1fx: %s]\n", label, *seconds * 1e3, ratio,
                referenceName, target, ratio <= target ? "met" : "MISSED");
    if (const auto full = reporter.Seconds(rewrite))
        std::printf("  %-26s %8.1f ms  journalled / full rewrite %.2fx\n", "  today's full rewrite",
                    *full * 1e3, *seconds / *full);
    const double journal = reporter.Counter(name, "journal_bytes");
    const double file = reporter.Counter(name, "file_bytes");
    std::printf(
        "  %-26s file %.0f B (%.3f MiB), journal %.0f B (%.3f MiB, %.2fx the file "
        "bytes), %.0f records\n",
        "  bytes written", file, file / kMiB, journal, journal / kMiB,
        file > 0 ? journal / file : 0.0, reporter.Counter(name, "records"));
}

void PrintSummary(const TFastestReporter& reporter, const TBenchContext& ctx) {
    std::printf("\nsummary (mean of a run's iterations, fastest repetition), %s, %.1f MiB:\n",
                ctx.Path.c_str(), static_cast<double>(ctx.FileSize) / kMiB);
    const auto plain = reporter.Seconds("PlainRead");
    const auto read = reporter.Seconds("ReadRadargram");
    const auto open = reporter.Seconds("DocumentOpen");
    const auto copy = reporter.Seconds("PlainCopy");
    if (plain) std::printf("  %-26s %8.1f ms\n", "read() of the file", *plain * 1e3);
    if (read)
        std::printf("  %-26s %8.1f ms  (the reference for edits)\n", "ReadRadargram", *read * 1e3);
    if (open) std::printf("  %-26s %8.1f ms\n", "TRadargramDocument::Open", *open * 1e3);
    if (copy)
        std::printf("  %-26s %8.1f ms  (the reference for the gain)\n", "copy with fsync",
                    *copy * 1e3);
    if (read) {
        PrintCase(reporter, "header edit", "HeaderEdit", "HeaderRewrite", "read", *read,
                  kEditTarget);
        PrintCase(reporter, "label edit", "LabelEdit", "HeaderRewrite", "read", *read, kEditTarget);
    }
    if (copy)
        PrintCase(reporter, "whole-file gain", "Gain", "GainRewrite", "copy", *copy, kGainTarget);
    if (plain && read) {
        for (const char* name : {"HeaderEdit", "LabelEdit"})
            if (const auto s = reporter.Seconds(name))
                std::printf("  %-26s %5.2fx read() of the file\n", name, *s / *plain);
    }
    if (const auto gain = reporter.Seconds("Gain"))
        std::printf("  %-26s %8.1f ms of it the gain itself, in memory\n", "whole-file gain",
                    reporter.Counter("Gain", "change_ms"));
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    TBenchContext ctx;
    ctx.Path = BenchFilePath();
    ctx.CopyPath = ctx.Path.parent_path() / "trelvanox_bench_copy.bin";
    // Beside the file, so on its filesystem.
    ctx.StateFolder = ctx.Path.parent_path() / "trelvanox_bench_state";
    try {
        EnsureBenchFile(ctx.Path);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "cannot prepare %s: %s\n", ctx.Path.c_str(), e.what());
        return 1;
    }
    ctx.FileSize = fs::file_size(ctx.Path);
    std::error_code ec;
    fs::remove(ctx.CopyPath, ec);
    fs::remove_all(ctx.StateFolder, ec);
    ctx.Document = std::make_unique<trelvanox::TRadargramDocument>(ctx.StateFolder);
    // The first read brings the file into the page cache and maps the model's matrix, which the
    // steady-state timings leave out.
    if (!Reopen(ctx)) {
        std::fprintf(stderr, "cannot read %s\n", ctx.Path.c_str());
        return 1;
    }

    const auto ms = benchmark::kMillisecond;
    const auto add = [&](const char* name, void (*bench)(benchmark::State&, TBenchContext&),
                         int iterations) {
        benchmark::RegisterBenchmark(name, bench, std::ref(ctx))->Unit(ms)->Iterations(iterations);
    };
    add("PlainRead", BenchPlainRead, kReadIterations);
    add("ReadRadargram", BenchReadRadargram, kReadIterations);
    add("DocumentOpen", BenchDocumentOpen, kReadIterations);
    add("PlainCopy", BenchPlainCopy, kWriteIterations);
    add("HeaderRewrite", BenchHeaderRewrite, kWriteIterations);
    add("HeaderEdit", BenchHeaderEdit, kWriteIterations);
    add("LabelEdit", BenchLabelEdit, kWriteIterations);
    add("GainRewrite", BenchGainRewrite, kWriteIterations);
    add("Gain", BenchGain, kWriteIterations);

    TFastestReporter reporter(ConsoleOptions());
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintSummary(reporter, ctx);
    benchmark::Shutdown();
    fs::remove(ctx.CopyPath, ec);
    fs::remove_all(ctx.StateFolder, ec);
    return 0;
}

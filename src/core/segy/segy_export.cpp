#include "segy/segy_export.h"

#include <segyio/segy.h>

#include <array>
#include <cstring>
#include <system_error>
#include <vector>

#include "common/file_paths.h"
#include "common/program_error.h"
#include "exchange/label_export.h"
#include "labels/read_label_table.h"
#include "segy/ebcdic.h"
#include "segy/segy_geometry.h"
#include "segy/segy_labels.h"
#include "segy/segy_text_header.h"

namespace trelvanox {

namespace fs = std::filesystem;

namespace {

// Traces are gathered into pieces of about this size before they go to the file: large enough
// for few system calls, small enough to stay in the cache while they are filled.
constexpr std::size_t kPieceBytes = std::size_t{4} << 20;

constexpr std::int32_t kRevision1 = 0x0100;
constexpr std::int32_t kSortingContinuousProfile = 3;  // single-fold continuous profile
constexpr std::int32_t kMetres = 1;
constexpr std::int32_t kFixedLengthTraces = 1;
constexpr std::int32_t kSeismicData = 1;
constexpr std::int32_t kProduction = 1;
constexpr std::int32_t kLengthUnits = 1;

// segyio refuses only fields it does not know; every field here is one of its own.
void SetBinaryField(std::string& header, int field, std::int32_t value) {
    if (segy_set_bfield(header.data(), field, value) != SEGY_OK)
        throw TProgramError("SEG-Y: binary header field " + std::to_string(field) + " refused");
}

void SetTraceField(char* header, int field, std::int32_t value) {
    if (segy_set_field(header, field, value) != SEGY_OK)
        throw TProgramError("SEG-Y: trace header field " + std::to_string(field) + " refused");
}

std::string BinaryHeader(const TRadarHeader& header) {
    std::string binary(SEGY_BINARY_HEADER_SIZE, '\0');
    const auto samples = static_cast<std::int32_t>(header.SampleCount);
    const std::int32_t interval = HeaderIntervalPs(header);
    SetBinaryField(binary, SEGY_BIN_JOB_ID, 1);
    SetBinaryField(binary, SEGY_BIN_LINE_NUMBER, 1);
    SetBinaryField(binary, SEGY_BIN_REEL_NUMBER, 1);
    SetBinaryField(binary, SEGY_BIN_TRACES, 1);
    SetBinaryField(binary, SEGY_BIN_INTERVAL, interval);
    SetBinaryField(binary, SEGY_BIN_INTERVAL_ORIG, interval);
    SetBinaryField(binary, SEGY_BIN_SAMPLES, samples);
    SetBinaryField(binary, SEGY_BIN_SAMPLES_ORIG, samples);
    SetBinaryField(binary, SEGY_BIN_FORMAT, SEGY_IEEE_FLOAT_4_BYTE);
    SetBinaryField(binary, SEGY_BIN_ENSEMBLE_FOLD, 1);
    SetBinaryField(binary, SEGY_BIN_SORTING_CODE, kSortingContinuousProfile);
    SetBinaryField(binary, SEGY_BIN_MEASUREMENT_SYSTEM, kMetres);
    SetBinaryField(binary, SEGY_BIN_SEGY_REVISION, kRevision1);
    SetBinaryField(binary, SEGY_BIN_TRACE_FLAG, kFixedLengthTraces);
    SetBinaryField(binary, SEGY_BIN_EXT_HEADERS, 0);
    return binary;
}

// The fields every trace header shares.
std::array<char, SEGY_TRACE_HEADER_SIZE> TraceHeaderTemplate(const TRadarHeader& header,
                                                             std::int32_t scalar) {
    std::array<char, SEGY_TRACE_HEADER_SIZE> fields{};
    SetTraceField(fields.data(), SEGY_TR_FIELD_RECORD, 1);
    SetTraceField(fields.data(), SEGY_TR_NUM_IN_ENSEMBLE, 1);
    SetTraceField(fields.data(), SEGY_TR_TRACE_ID, kSeismicData);
    SetTraceField(fields.data(), SEGY_TR_SUMMED_TRACES, 1);
    SetTraceField(fields.data(), SEGY_TR_STACKED_TRACES, 1);
    SetTraceField(fields.data(), SEGY_TR_DATA_USE, kProduction);
    SetTraceField(fields.data(), SEGY_TR_SOURCE_GROUP_SCALAR, scalar);
    SetTraceField(fields.data(), SEGY_TR_COORD_UNITS, kLengthUnits);
    SetTraceField(fields.data(), SEGY_TR_SAMPLE_COUNT,
                  static_cast<std::int32_t>(header.SampleCount));
    SetTraceField(fields.data(), SEGY_TR_SAMPLE_INTER, HeaderIntervalPs(header));
    return fields;
}

// The label number of every trace: its row in the read-label table, 0 for none.
std::vector<std::int32_t> LabelNumbers(const TRadargram& model) {
    std::vector<std::int32_t> numbers(model.Header().TraceCount, 0);
    std::int32_t number = 0;
    for (const TReadLabelRow& row : ReadLabelRows(model)) numbers[row.Trace] = ++number;
    return numbers;
}

std::string NotRegularMessage(const fs::path& path) {
    return "Файл SEG-Y не записан: \"" + Utf8OfPath(path) +
           "\" - не обычный файл (папка, устройство или канал). Выберите другое имя файла.";
}

std::string LabelsNotRegularMessage(const fs::path& path) {
    return "Файл SEG-Y не записан: файл меток \"" + Utf8OfPath(path) +
           "\" - не обычный файл (папка, устройство или канал). Выберите другое имя файла.";
}

// Writing over the radargram being exported would destroy it.
void RefuseSourceFile(const TRadargram& model, const fs::path& path) {
    if (!NamesSameFile(path, model.SourcePath())) return;
    throw TProgramError("Файл SEG-Y не записан: \"" + Utf8OfPath(path) +
                        "\" - это файл самой радарограммы. Выберите другое имя файла.");
}

void RequireExportable(const TRadargram& model) {
    // Counts that disagree with what the model holds would send the export outside its memory.
    if (!model.HasHeader() || model.TraceHeaders().size() != model.Header().TraceCount ||
        model.Header().SampleCount > kMaxSamples)
        throw TProgramError("Радарограмма не открыта или не прочитана");
    if (!model.SamplesIntact())
        throw TProgramError(
            "Экспорт в SEG-Y невозможен: отсчёты радарограммы испорчены прерванным чтением. "
            "Прочитайте файл заново.");
}

class TSegyWriter {
  public:
    TSegyWriter(const TRadargram& model, const TSegyExportOptions& options,
                const TSegyProgress& progress)
        : model_(model),
          samples_(options.Samples),
          progress_(progress),
          positions_(ScalePositions(model)) {
        if (options.Labels) labelNumbers_ = LabelNumbers(model);
    }

    std::int32_t Scalar() const { return positions_.Scalar; }

    std::string FileHeader(const TSegyTextInfo& info) const {
        std::string text;
        for (const std::string& line : SegyTextLines(model_, info)) text += line;
        return EncodeEbcdic(text) + BinaryHeader(model_.Header());
    }

    bool WriteTraces(const TPieceWriter& write) const {
        const TRadarHeader& header = model_.Header();
        const std::size_t sampleBytes = std::size_t{header.SampleCount} * sizeof(float);
        const std::size_t traceBytes = SEGY_TRACE_HEADER_SIZE + sampleBytes;
        const auto shared = TraceHeaderTemplate(header, positions_.Scalar);
        std::string piece;
        piece.reserve(kPieceBytes + traceBytes);
        std::uint32_t shown = 0;
        Report(0);
        for (std::uint32_t t = 0; t < header.TraceCount; ++t) {
            const std::size_t at = piece.size();
            piece.resize(at + traceBytes);
            char* record = piece.data() + at;
            std::memcpy(record, shared.data(), shared.size());
            const auto number = static_cast<std::int32_t>(t + 1);
            SetTraceField(record, SEGY_TR_SEQ_LINE, number);
            SetTraceField(record, SEGY_TR_SEQ_FILE, number);
            SetTraceField(record, SEGY_TR_NUMBER_ORIG_FIELD, number);
            SetTraceField(record, SEGY_TR_ENSEMBLE, number);
            const std::int32_t position = positions_.Values[t];
            SetTraceField(record, SEGY_TR_SOURCE_X, position);
            SetTraceField(record, SEGY_TR_GROUP_X, position);
            SetTraceField(record, SEGY_TR_CDP_X, position);
            if (!labelNumbers_.empty())
                SetTraceField(record, SEGY_TR_UNASSIGNED1, labelNumbers_[t]);
            char* samples = record + SEGY_TRACE_HEADER_SIZE;
            std::memcpy(samples, samples_ ? samples_(t) : model_.Samples(t).data(), sampleBytes);
            segy_from_native(SEGY_IEEE_FLOAT_4_BYTE, header.SampleCount, samples);
            if (piece.size() < kPieceBytes && t + 1 < header.TraceCount) continue;
            if (!write(piece)) return false;
            piece.clear();
            const auto percent =
                static_cast<std::uint32_t>(std::uint64_t{t + 1} * 100 / header.TraceCount);
            if (percent != shown) Report(shown = percent);
        }
        Report(100);
        return true;
    }

  private:
    void Report(std::uint32_t percent) const {
        if (progress_) progress_(percent);
    }

    const TRadargram& model_;
    std::function<const float*(std::uint32_t t)> samples_;
    const TSegyProgress& progress_;
    TSegyPositions positions_;
    std::vector<std::int32_t> labelNumbers_;
};

}  // namespace

std::string ExportSegy(const TRadargram& model, const fs::path& path,
                       const TSegyExportOptions& options, const TSegyProgress& progress,
                       const TFileWriteCall& write) {
    RequireExportable(model);
    const fs::path labelsPath = SegyLabelsPath(path);
    RefuseSourceFile(model, path);
    if (options.Labels) RefuseSourceFile(model, labelsPath);

    const TSegyWriter writer(model, options, progress);
    TSegyTextInfo info;
    info.SourceName = Utf8OfPath(model.SourcePath().filename());
    info.Date = options.Date.empty() ? TodayText() : options.Date;
    if (options.Labels) info.LabelsName = Utf8OfPath(labelsPath.filename());
    info.Scalar = writer.Scalar();
    const std::string fileHeader = writer.FileHeader(info);
    // A labels file that cannot be written is refused before the SEG-Y file replaces an older
    // one, so that a refused export leaves both as they were.
    if (options.Labels)
        CheckReplaceableTarget(Utf8OfPath(labelsPath), LabelsNotRegularMessage(labelsPath));
    std::string warning = WriteFileInPieces(
        Utf8OfPath(path),
        [&](const TPieceWriter& piece) { return piece(fileHeader) && writer.WriteTraces(piece); },
        NotRegularMessage(path), write);
    if (!options.Labels) return warning;
    try {
        const std::string labelsWarning = WriteFileInPieces(
            Utf8OfPath(labelsPath),
            [text = BuildSegyLabelsText(model)](const TPieceWriter& piece) { return piece(text); },
            LabelsNotRegularMessage(labelsPath), write);
        if (!labelsWarning.empty()) warning += (warning.empty() ? "" : "\n") + labelsWarning;
        return warning;
    } catch (const TProgramError& error) {
        throw TProgramError("Файл SEG-Y записан, но файл меток \"" + Utf8OfPath(labelsPath) +
                            "\" не записан: " + error.what());
    }
}

std::string SegyFileNameFor(const std::string& radargramName) {
    if (radargramName.empty()) return {};
    return Utf8OfPath(PathFromUtf8(radargramName).replace_extension(".sgy"));
}

}  // namespace trelvanox

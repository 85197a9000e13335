// The SEG-Y export read back with segyio itself: counts, samples bit for bit, positions with
// their scalar, label numbers, the textual and binary headers, the labels file, and exports that
// fail without leaving anything behind.

#include "segy/segy_export.h"

#include <gtest/gtest.h>
#include <segyio/segy.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/cp1251.h"
#include "common/program_error.h"
#include "full_disk_write.h"
#include "labels/read_label_table.h"
#include "model/radargram_io.h"
#include "model/text_field.h"
#include "radargram_generator.h"
#include "segy/segy_labels.h"
#include "segy/segy_text_header.h"
#include "segy_read_back.h"
#include "temp_folder.h"

namespace trelvanox {
namespace {

namespace fs = std::filesystem;
using test::FullDiskAfter;
using test::ReadSegy;
using test::TSegyContents;
using test::TTempFolder;

std::vector<std::string> FolderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A model read from a generated radargram, as the program holds one.
class TSegyExportTest : public ::testing::Test {
  protected:
    void Load(const TGeneratorOptions& options) {
        source_ = folder_ / "профиль.GPR2";
        GenerateRadargram(source_, options);
        ASSERT_EQ(ReadRadargram(model_, source_, options.Layout).Code, 0);
    }

    TTempFolder folder_;
    fs::path source_;
    TRadargram model_;
};

// The label number each trace should carry: the count of labelled traces up to it.
std::vector<std::int32_t> ExpectedLabelNumbers(const TRadargram& model) {
    std::vector<std::int32_t> numbers;
    std::int32_t count = 0;
    for (const TTraceHeader& trace : model.TraceHeaders())
        numbers.push_back(trace.LabelIndex != 0 ? ++count : 0);
    return numbers;
}

struct TRoundTripCase {
    const char* Name;
    std::uint32_t Traces;
    std::uint32_t Samples;
    std::uint32_t LabelEvery;
    std::int64_t StartCoordinate;
    std::int32_t StepX;
    bool Labels;
    TRadarLayout Layout = TRadarLayout::Gpr2;
};

void PrintTo(const TRoundTripCase& c, std::ostream* os) {
    *os << c.Name;
}

class TSegyRoundTrip : public TSegyExportTest,
                       public ::testing::WithParamInterface<TRoundTripCase> {};

TEST_P(TSegyRoundTrip, SegyioReadsBackWhatTheRadargramHolds) {
    const TRoundTripCase& c = GetParam();
    TGeneratorOptions options;
    options.TraceCount = c.Traces;
    options.SampleCount = c.Samples;
    options.LabelEvery = c.LabelEvery;
    options.StartCoordinate = c.StartCoordinate;
    options.StepX = c.StepX;
    options.Layout = c.Layout;
    Load(options);
    const fs::path out = folder_ / "out.sgy";
    TSegyExportOptions exportOptions;
    exportOptions.Labels = c.Labels;
    ExportSegy(model_, out, exportOptions);

    const TSegyContents segy = ReadSegy(out);
    ASSERT_EQ(segy.Traces.size(), c.Traces);
    EXPECT_EQ(segy.Samples, static_cast<std::int32_t>(c.Samples));
    EXPECT_EQ(segy.Format, SEGY_IEEE_FLOAT_4_BYTE);
    EXPECT_EQ(segy.Revision, 0x0100);
    EXPECT_EQ(segy.Measurement, 1);
    // Picoseconds, or 0 where they do not fit the 16-bit field.
    const long interval = std::lround(options.RecordTime * 1000.0 / c.Samples);
    EXPECT_EQ(segy.Interval, interval <= 32767 ? interval : 0);
    const std::vector<std::int32_t> labels = ExpectedLabelNumbers(model_);
    for (std::uint32_t t = 0; t < c.Traces; ++t) {
        SCOPED_TRACE("trace " + std::to_string(t));
        EXPECT_EQ(segy.Field(t, SEGY_TR_SEQ_LINE), static_cast<std::int32_t>(t + 1));
        EXPECT_EQ(segy.Field(t, SEGY_TR_SAMPLE_COUNT), static_cast<std::int32_t>(c.Samples));
        EXPECT_EQ(segy.Field(t, SEGY_TR_SAMPLE_INTER), segy.Interval);
        // Scalar -1000: the values are millimetres of the chainage position.
        EXPECT_EQ(segy.Field(t, SEGY_TR_SOURCE_GROUP_SCALAR), -1000);
        const std::int64_t position = c.StartCoordinate + model_.TraceHeaders()[t].Coordinate;
        EXPECT_EQ(segy.Field(t, SEGY_TR_SOURCE_X), position);
        EXPECT_EQ(segy.Field(t, SEGY_TR_CDP_X), position);
        EXPECT_EQ(segy.Field(t, SEGY_TR_UNASSIGNED1), c.Labels ? labels[t] : 0);
        const std::span<const float> samples = model_.Samples(t);
        ASSERT_EQ(segy.Traces[t].size(), samples.size());
        EXPECT_EQ(std::memcmp(segy.Traces[t].data(), samples.data(), samples.size_bytes()), 0);
    }

    const fs::path labelsFile = folder_ / "out.labels.csv";
    ASSERT_EQ(fs::exists(labelsFile), c.Labels);
    if (c.Labels) {
        const std::string text = test::ReadText(labelsFile);
        const auto records = std::count(text.begin(), text.end(), '\n');
        EXPECT_EQ(records, 1 + std::count_if(labels.begin(), labels.end(),
                                             [](std::int32_t n) { return n != 0; }));
    }
    // Nothing but the radargram and what the export promised.
    std::vector<std::string> expected{"out.sgy", "профиль.GPR2"};
    if (c.Labels) expected.insert(expected.begin(), "out.labels.csv");
    EXPECT_EQ(FolderEntries(folder_.Path()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TSegyRoundTrip,
    ::testing::Values(
        TRoundTripCase{"Labelled", 300, 512, 37, 1234500, 50, true},
        TRoundTripCase{"GprLayout", 40, 100, 7, 0, 100, true, TRadarLayout::Gpr},
        TRoundTripCase{"OneSample", 5, 1, 2, 0, 10, true},
        // An empty profile is exported as a file of headers that segyio reads as no traces.
        TRoundTripCase{"NoTraces", 0, 64, 0, 500, 50, true},
        TRoundTripCase{"NegativeCoordinates", 60, 32, 9, -250000, -75, true},
        TRoundTripCase{"NoLabelsInFile", 50, 16, 0, 0, 50, true},
        TRoundTripCase{"LabelsNotExported", 50, 16, 5, 0, 50, false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(TSegyExportTest, TextualHeaderIsFortyReadableCards) {
    TGeneratorOptions options;
    options.TraceCount = 20;
    options.SampleCount = 400;
    options.RecordTime = 390;
    options.LabelEvery = 4;
    Load(options);
    WriteTextField(model_.Header().OperatorName, "Щукин Ёж №5");
    TSegyExportOptions exportOptions;
    exportOptions.Date = "2026-12-10";
    ExportSegy(model_, folder_ / "out.sgy", exportOptions);

    const TSegyContents segy = ReadSegy(folder_ / "out.sgy");
    ASSERT_EQ(segy.Text.size(), 3200u);
    for (int line = 1; line <= 40; ++line) {
        const std::string card = segy.Line(line);
        EXPECT_EQ(card.substr(0, 4), (line < 10 ? "C " : "C") + std::to_string(line) + " ");
        EXPECT_TRUE(std::all_of(card.begin(), card.end(), [](char ch) {
            return ch >= ' ' && ch <= '~';
        })) << card;
    }
    const auto has = [&](const std::string& text) {
        return segy.Text.find(text) != std::string::npos;
    };
    EXPECT_TRUE(has("TRELVANOX")) << segy.Text;
    EXPECT_TRUE(has("SOURCE FILE: profil.GPR2"));
    EXPECT_TRUE(has("EXPORT DATE: 2026-12-10"));
    EXPECT_TRUE(has("OPERATOR: Shchukin Ezh N5"));
    EXPECT_TRUE(has("TRACES: 20"));
    EXPECT_TRUE(has("SAMPLES PER TRACE: 400"));
    EXPECT_TRUE(has("RECORD TIME: 390 NS"));
    // 390 ns over 400 samples: 975 ps, stated with the unit the fields use.
    EXPECT_TRUE(has("SAMPLE INTERVAL: 0.975 NS = 975 PS"));
    EXPECT_TRUE(has("PICOSECONDS"));
    EXPECT_TRUE(has("PERMITTIVITY: 9.3"));
    EXPECT_TRUE(has("START COORDINATE: 1234.500 M (PK12+00)"));
    EXPECT_TRUE(has("TRACE STEP: 0.050 M"));
    EXPECT_TRUE(has("BYTES 233-236"));
    EXPECT_TRUE(has("out.labels.csv"));
    EXPECT_EQ(segy.Interval, 975);
    EXPECT_EQ(segy.Sorting, 3);
    EXPECT_EQ(segy.Line(39).substr(0, 14), "C39 SEG Y REV1");
    EXPECT_EQ(segy.Line(40).substr(0, 22), "C40 END TEXTUAL HEADER");
}

TEST(SegyTransliteration, RussianInLatinLettersOtherCharactersAsQuestionMarks) {
    EXPECT_EQ(Transliterate("Иванов И.И."), "Ivanov I.I.");
    EXPECT_EQ(Transliterate("Щука, ёж, объект, Юг, Я"), "Shchuka, ezh, obekt, Yug, Ya");
    EXPECT_EQ(Transliterate("Опора № 12 – «Север»"), "Opora N 12 - \"Sever\"");
    EXPECT_EQ(Transliterate("日本\xff"), "???");
}

// A hand-made model: labels with and without text, a text that needs quotes, colours.
TEST(SegyLabelsText, OneRecordPerLabelInTableOrder) {
    TRadargramContents contents;
    contents.Header.TraceCount = 4;
    contents.Header.StartCoordinate = 150000;
    const std::int32_t coordinates[] = {0, 5000, -105000, 20400};
    const std::uint32_t labelIndexes[] = {2, 0, 1, 3};
    for (int t = 0; t < 4; ++t) {
        TTraceHeader trace{};
        trace.Coordinate = coordinates[t];
        trace.LabelIndex = labelIndexes[t];
        contents.TraceHeaders.push_back(trace);
    }
    contents.LabelRecords.resize(4, TLabelRecord{});
    contents.LabelRecords[0].LabelColor = 0x0000FF;  // red
    contents.LabelRecords[1].LabelColor = 0xFF8000;  // blue-ish
    WriteTextField(contents.LabelRecords[0].LabelText, "Опора, \"КС\"");
    WriteTextField(contents.LabelRecords[1].LabelText, "Мост");
    contents.LabelTotal = 3;
    TRadargram model;
    model.Replace(std::move(contents), "/x.GPR2");

    EXPECT_EQ(BuildSegyLabelsText(model),
              "trace,chainage,coordinate_m,colour,text\r\n"
              "1,ПК1+00,150.000,#FF0000,\"Опора, \"\"КС\"\"\"\r\n"
              "3,ПК0+-5,45.000,#0080FF,\r\n"
              "4,ПК1+20,170.400,#000000,Мост\r\n");
    EXPECT_EQ(SegyLabelsPath("/a/b/out.sgy"), fs::path("/a/b/out.labels.csv"));
    EXPECT_EQ(SegyLabelsPath("/a/b/out"), fs::path("/a/b/out.labels.csv"));
    EXPECT_EQ(SegyFileNameFor("профиль.GPR2"), "профиль.sgy");
}

TEST_F(TSegyExportTest, PositionsBeyondMillimetresTakeACoarserScalar) {
    TGeneratorOptions options;
    options.TraceCount = 3;
    options.SampleCount = 8;
    options.StartCoordinate = std::int64_t{5'000'000'000'000};  // 5 million km
    Load(options);
    ExportSegy(model_, folder_ / "out.sgy", {});
    const TSegyContents segy = ReadSegy(folder_ / "out.sgy");
    // 5e12 mm does not fit 32 bits in mm, cm, dm or m; in units of 10 m it does.
    EXPECT_EQ(segy.Field(0, SEGY_TR_SOURCE_GROUP_SCALAR), 10);
    EXPECT_EQ(segy.Field(0, SEGY_TR_SOURCE_X), 500'000'000);
    EXPECT_NE(segy.Text.find("COORDINATE SCALAR (BYTES 71-72): 10,"), std::string::npos);
}

TEST_F(TSegyExportTest, AnIntervalTooLongForTheFieldIsWrittenAsZero) {
    TGeneratorOptions options;
    options.TraceCount = 2;
    options.SampleCount = 10;
    options.RecordTime = 400;  // 40 ns = 40000 ps per sample
    Load(options);
    ExportSegy(model_, folder_ / "out.sgy", {});
    const TSegyContents segy = ReadSegy(folder_ / "out.sgy");
    EXPECT_EQ(segy.Interval, 0);
    EXPECT_EQ(segy.Field(0, SEGY_TR_SAMPLE_INTER), 0);
    EXPECT_NE(segy.Text.find("40.000 NS = 40000 PS (TOO LONG"), std::string::npos);
}

struct TFailureCase {
    const char* Name;
    std::string Target;        // inside the folder
    std::size_t DiskBudget;    // bytes the disk takes before it is full; 0: no limit
    std::string Message;       // a part of the error's message
    bool SegyWritten = false;  // the SEG-Y file is complete, the labels file failed
};

void PrintTo(const TFailureCase& c, std::ostream* os) {
    *os << c.Name;
}

class TSegyExportFailure : public TSegyExportTest,
                           public ::testing::WithParamInterface<TFailureCase> {};

TEST_P(TSegyExportFailure, LeavesNoPartialFileAndExistingFilesAsTheyWere) {
    const TFailureCase& c = GetParam();
    TGeneratorOptions options;
    options.TraceCount = 3000;  // about 6 MB: more than one piece
    options.LabelEvery = 100;
    Load(options);
    fs::create_directory(folder_ / "folder.sgy");
    fs::create_directory(folder_ / "taken.labels.csv");
    test::WriteText(folder_ / "taken.sgy", "old export");
    test::WriteText(folder_ / "old.sgy", "old export");
    test::WriteText(folder_ / "old.labels.csv", "old labels");
    const auto before = FolderEntries(folder_.Path());
    const auto sourceBytes = test::ReadText(source_);
    const fs::path target = c.Target.empty() ? source_ : folder_ / c.Target;

    try {
        ExportSegy(model_, target, {}, {},
                   c.DiskBudget ? FullDiskAfter(c.DiskBudget) : TFileWriteCall());
        FAIL() << "the export reported success";
    } catch (const TProgramError& error) {
        EXPECT_NE(std::string(error.what()).find(c.Message), std::string::npos) << error.what();
    }
    EXPECT_EQ(FolderEntries(folder_.Path()), before);
    EXPECT_EQ(test::ReadText(source_), sourceBytes);
    EXPECT_EQ(test::ReadText(folder_ / "old.labels.csv"), "old labels");
    EXPECT_EQ(test::ReadText(folder_ / "taken.sgy"), "old export");
    if (c.SegyWritten)
        EXPECT_EQ(ReadSegy(folder_ / "old.sgy").Traces.size(), 3000u);
    else
        EXPECT_EQ(test::ReadText(folder_ / "old.sgy"), "old export");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TSegyExportFailure,
    ::testing::Values(
        TFailureCase{"MissingFolder", "missing/out.sgy", 0, "No such file or directory"},
        TFailureCase{"TargetIsAFolder", "folder.sgy", 0, "не обычный файл"},
        TFailureCase{"TheRadargramItself", "", 0, "это файл самой радарограммы"},
        // A labels file that cannot be written stops the export before the SEG-Y file is.
        TFailureCase{"LabelsTargetIsAFolder", "taken.sgy", 0, "файл меток"},
        TFailureCase{"DiskFullInTheHeader", "old.sgy", 100, "No space left on device"},
        TFailureCase{"DiskFullAmongTheTraces", "old.sgy", 5 << 20, "No space left on device"},
        // The SEG-Y file is whole; the labels file is not written and the message says so.
        TFailureCase{"DiskFullAtTheLabels", "old.sgy", 3600 + 3000 * (240 + 512 * 4) + 10,
                     "Файл SEG-Y записан, но файл меток", true}),
    [](const auto& info) { return std::string(info.param.Name); });

// An export that ends in an exception halfway (memory running out among the traces) leaves the
// target as it was and no temporary file.
TEST(SegyExportRefusals, AnExceptionAmongThePiecesLeavesNothingBehind) {
    TTempFolder folder;
    test::WriteText(folder / "out.sgy", "old export");
    const TFileContent throwing = [](const TPieceWriter& piece) -> bool {
        if (!piece("first piece")) return false;
        throw std::bad_alloc();
    };
    EXPECT_THROW(ReplaceFileDurably(folder / "out.sgy", throwing), std::bad_alloc);
    EXPECT_EQ(FolderEntries(folder.Path()), std::vector<std::string>{"out.sgy"});
    EXPECT_EQ(test::ReadText(folder / "out.sgy"), "old export");
}

TEST(SegyExportRefusals, NothingReadDamagedSamplesOrWrongCountsAreRefused) {
    TTempFolder folder;
    TRadargram empty;
    EXPECT_THROW(ExportSegy(empty, folder / "out.sgy", {}), TProgramError);
    TRadargram damaged;
    TRadargramContents contents;
    contents.Header.TraceCount = 0;
    damaged.Replace(std::move(contents), folder / "x.GPR2");
    damaged.MarkSamplesDamaged();
    EXPECT_THROW(ExportSegy(damaged, folder / "out.sgy", {}), TProgramError);
    // A header counting traces the model does not hold.
    TRadargram inconsistent;
    TRadargramContents counted;
    counted.Header.TraceCount = 5;
    inconsistent.Replace(std::move(counted), folder / "x.GPR2");
    EXPECT_THROW(ExportSegy(inconsistent, folder / "out.sgy", {}), TProgramError);
    EXPECT_TRUE(fs::is_empty(folder.Path()));
}

}  // namespace
}  // namespace trelvanox

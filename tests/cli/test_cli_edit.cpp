#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "cli_run.h"
#include "common/cp1251.h"
#include "labels/label_write_back.h"
#include "model/radargram_io.h"
#include "model/text_field.h"
#include "radar_image.h"
#include "radargram_generator.h"
#include "temp_folder.h"

namespace trelvanox {
namespace {

using test::TBytes;

using TRun = test::TCliRun;
using test::RunTool;

// Thirty traces, labels on traces 0, 4, ..., 28 (eight, two of them without text).
TGeneratorOptions Survey(TRadarLayout layout = TRadarLayout::Gpr2) {
    TGeneratorOptions options;
    options.TraceCount = 30;
    options.SampleCount = 8;
    options.Layout = layout;
    options.LabelEvery = 4;
    options.TrailingBytes = 3;
    return options;
}

constexpr std::size_t kLabels = 8;

// Changes the record at the start of a block of file bytes.
template <typename T>
void Edit(TBytes& block, const std::function<void(T&)>& change) {
    T record;
    std::memcpy(&record, block.data(), sizeof record);
    change(record);
    std::memcpy(block.data(), &record, sizeof record);
}

class CliEditTest : public ::testing::Test {
  protected:
    void SetUp() override { Put(Survey()); }
    void Put(const TGeneratorOptions& options) {
        layout_ = options.Layout;
        original_ = GenerateRadargramBytes(options);
        image_ = test::CutImage(original_, layout_);
        test::WriteBytes(path_, original_);
    }
    // The original file with the blocks of image_ written back over it.
    TBytes Expected() const {
        return test::PasteImage(original_, image_, image_.Labels.size(), layout_);
    }
    TBytes Now() const { return test::ReadBytes(path_); }

    test::TTempFolder folder_;
    const std::string path_ = (folder_ / "profile.GPR2").string();
    TRadarLayout layout_ = TRadarLayout::Gpr2;
    TBytes original_;
    test::TRadarImage image_;
};

TEST_F(CliEditTest, HeaderChangesTheGivenFieldsOnly) {
    const TRun run = RunTool({"header", path_, "--operator", "Сидоров", "--desc3", "ДП32 (22 / 32)",
                              "--pk", "12.5", "--epsilon", "6.5"});

    ASSERT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(run.Out, "");
    Edit<TRadarHeader>(image_.Header, [](TRadarHeader& h) {
        WriteTextField(h.OperatorName, "Сидоров");
        WriteTextField(h.Description3, "ДП32 (22 / 32)");
        h.StartCoordinate = 1250000;
        h.Permittivity = 6.5f;
    });
    EXPECT_EQ(Now(), Expected());
}

TEST_F(CliEditTest, HeaderTakesThePicketLengthGiven) {
    ASSERT_EQ(RunTool({"header", path_, "--pk", "-1.5"}).Code, 0);
    Edit<TRadarHeader>(image_.Header, [](TRadarHeader& h) { h.StartCoordinate = -150000; });
    EXPECT_EQ(Now(), Expected());

    ASSERT_EQ(RunTool({"header", path_, "--pk", "3", "--base-pk", "1000"}).Code, 0);
    Edit<TRadarHeader>(image_.Header, [](TRadarHeader& h) { h.StartCoordinate = 3000000; });
    EXPECT_EQ(Now(), Expected());
}

TEST_F(CliEditTest, HeaderWithoutOptionsRewritesTheFileUnchanged) {
    ASSERT_EQ(RunTool({"header", path_}).Code, 0);
    EXPECT_EQ(Now(), original_);
}

TEST_F(CliEditTest, HeaderClearEmptiesTextsAndStartCoordinate) {
    const TRun run = RunTool({"header", path_, "--clear"});

    ASSERT_EQ(run.Code, 0) << run.Err;
    Edit<TRadarHeader>(image_.Header, [](TRadarHeader& h) {
        for (char* field :
             {h.OperatorName, h.ObjectName, h.Description1, h.Description2, h.Description3})
            field[0] = '\0';
        h.StartCoordinate = 0;
    });
    EXPECT_EQ(Now(), Expected());
}

TEST_F(CliEditTest, ResetPositionsZeroesEveryTraceCoordinate) {
    Put(Survey(TRadarLayout::Gpr));

    const TRun run = RunTool({"reset-positions", path_, "--layout", "gpr"});

    ASSERT_EQ(run.Code, 0) << run.Err;
    for (TBytes& trace : image_.Traces)
        Edit<TTraceHeader>(trace, [](TTraceHeader& t) { t.Coordinate = 0; });
    EXPECT_EQ(Now(), Expected());
}

TEST_F(CliEditTest, ResetNamesEmptiesEveryLabelText) {
    const TRun run = RunTool({"reset-names", path_});

    ASSERT_EQ(run.Code, 0) << run.Err;
    ASSERT_EQ(image_.Labels.size(), kLabels);
    for (TBytes& label : image_.Labels) {
        Edit<TLabelRecord>(label, [](TLabelRecord& r) {
            r.LabelText[0] = '\0';
            r.LabelNumber = 1;
        });
    }
    EXPECT_EQ(Now(), Expected());
}

TEST_F(CliEditTest, InsertLabelMarksTheTracesAskedFor) {
    const TRun run = RunTool({"insert-label", path_, "--first", "--last", "--trace", "5"});

    ASSERT_EQ(run.Code, 0) << run.Err;
    for (std::size_t t : {0, 5, 29})
        Edit<TTraceHeader>(image_.Traces[t], [](TTraceHeader& h) { h.LabelIndex = 1; });
    EXPECT_EQ(Now(), Expected());
}

// A label table as a spreadsheet saves it: Windows-1251, CR LF, a title line.
std::string TableText(const std::vector<std::string>& rows, char delimiter) {
    std::string text = "№ п/п";
    text += delimiter;
    text += "Подпись метки\r\n";
    for (const std::string& row : rows) {
        std::string line = row;
        for (char& c : line)
            if (c == '|') c = delimiter;
        text += line + "\r\n";
    }
    return EncodeCp1251(text);
}

std::vector<std::string> EightRows() {
    std::vector<std::string> rows;
    for (std::size_t k = 0; k < kLabels; ++k) {
        const std::string n = std::to_string(k + 1);
        rows.push_back(n + "| Метка " + n + " |" + std::to_string(10 * k) + "|" + n);
    }
    return rows;
}

TEST_F(CliEditTest, ApplyLabelsWritesTheTableIntoTheLabels) {
    test::WriteText(folder_ / "labels.txt", TableText(EightRows(), ';'));

    const TRun run = RunTool(
        {"apply-labels", path_, (folder_ / "labels.txt").string(), "--delimiter", "semicolon"});

    ASSERT_EQ(run.Code, 0) << run.Err;
    Edit<TRadarHeader>(image_.Header, [](TRadarHeader& h) { h.LabelCount = kLabels; });
    for (std::size_t k = 0; k < kLabels; ++k) {
        Edit<TTraceHeader>(image_.Traces[4 * k], [k](TTraceHeader& t) {
            t.LabelIndex = static_cast<std::uint32_t>(k + 2);
            t.Coordinate = static_cast<std::int32_t>(10000 * k);
        });
        Edit<TLabelRecord>(image_.Labels[k], [k](TLabelRecord& r) {
            WriteTextField(r.LabelText, "Метка " + std::to_string(k + 1));
            r.LabelNumber = static_cast<std::int32_t>(k + 2);
            r.LabelColor = kStartColourMap[k];
        });
    }
    EXPECT_EQ(Now(), Expected());
}

TEST_F(CliEditTest, ApplyLabelsHonoursTheFirstRowAndTheScope) {
    // Two rows before the labels; the coordinates are not numbers, which matters only when
    // they are written.
    std::vector<std::string> rows = {"x|пропуск|x|x", "x|пропуск|x|x"};
    for (std::size_t k = 0; k < kLabels; ++k) rows.push_back("|Новая|метры|" + std::to_string(k));
    test::WriteText(folder_ / "labels.txt", TableText(rows, '\t'));

    const TRun run = RunTool({"apply-labels", path_, (folder_ / "labels.txt").string(),
                              "--first-row", "3", "--no-coord"});

    ASSERT_EQ(run.Code, 0) << run.Err;
    TRadargram model;
    ASSERT_EQ(ReadRadargram(model, path_, TRadarLayout::Gpr2).Code, 0);
    EXPECT_EQ(model.LabelsWithText(), kLabels);
    for (std::size_t k = 0; k < kLabels; ++k) {
        TTraceHeader before;
        std::memcpy(&before, image_.Traces[4 * k].data(), sizeof before);
        const TTraceHeader& after = model.TraceHeaders()[4 * k];
        EXPECT_EQ(after.LabelIndex, k + 2);
        EXPECT_EQ(after.Coordinate, before.Coordinate) << k;
        const TLabelRecord& record = model.LabelRecords()[k];
        EXPECT_EQ(ReadTextField(record.LabelText), "Новая");
        EXPECT_EQ(record.LabelColor, k == 0 ? 255u : kStartColourMap[k - 1]) << k;
    }
}

TEST(CliEditHelpTest, ListsTheEditCommands) {
    const TRun run = RunTool({"--help"});
    EXPECT_EQ(run.Code, 0);
    for (const char* command : {"header FILE", "apply-labels FILE TABLE", "reset-positions FILE",
                                "reset-names FILE", "insert-label FILE"})
        EXPECT_NE(run.Out.find(command), std::string::npos) << command;
}

// A command that fails exits with the program's message and leaves the file as it was.
struct TFailureCase {
    const char* Name;
    std::vector<std::string> Args;  // FILE, TABLE and SHORT stand for the test's files
    int Code;
    std::string Err;  // the whole of stderr, or its start for usage errors (code 2)
};

void PrintTo(const TFailureCase& c, std::ostream* os) {
    *os << c.Name;
}

class CliEditFailureTest : public CliEditTest,
                           public ::testing::WithParamInterface<TFailureCase> {};

TEST_P(CliEditFailureTest, ExitsWithTheMessageAndLeavesTheFile) {
    test::WriteText(folder_ / "labels.txt", TableText(EightRows(), '\t'));
    std::vector<std::string> shortRows = EightRows();
    shortRows.resize(kLabels - 1);
    test::WriteText(folder_ / "short.txt", TableText(shortRows, '\t'));
    std::vector<std::string> args = GetParam().Args;
    for (std::string& arg : args) {
        if (arg == "FILE") arg = path_;
        if (arg == "TABLE") arg = (folder_ / "labels.txt").string();
        if (arg == "SHORT") arg = (folder_ / "short.txt").string();
    }

    const TRun run = RunTool(args);

    EXPECT_EQ(run.Code, GetParam().Code);
    if (GetParam().Code == 2)
        EXPECT_EQ(run.Err.substr(0, GetParam().Err.size()), GetParam().Err);
    else
        EXPECT_EQ(run.Err, GetParam().Err);
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(Now(), original_);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, CliEditFailureTest,
    ::testing::Values(
        TFailureCase{"HeaderPicketNotANumber",
                     {"header", "FILE", "--operator", "Сидоров", "--pk", "abc"},
                     1,
                     "'abc' is not a valid floating point value\n"},
        TFailureCase{"HeaderBaseNotANumber",
                     {"header", "FILE", "--pk", "1", "--base-pk", "1,5"},
                     1,
                     "'1,5' is not a valid floating point value\n"},
        TFailureCase{"HeaderPermittivityBeyondSingle",
                     {"header", "FILE", "--object", "Станция", "--epsilon", "1e39"},
                     1,
                     "'1e39' is not a valid floating point value\n"},
        TFailureCase{"HeaderPicketBeyond64Bits",
                     {"header", "FILE", "--pk", "1e17"},
                     1,
                     "'1e17' is not a valid floating point value\n"},
        TFailureCase{"HeaderClearWithEdits",
                     {"header", "FILE", "--clear", "--object", "Станция"},
                     2,
                     "trelvanox-cli header: --clear cannot be combined"},
        TFailureCase{"HeaderBaseWithoutPicket",
                     {"header", "FILE", "--base-pk", "1000"},
                     2,
                     "trelvanox-cli header: --base-pk needs --pk"},
        TFailureCase{"InsertNotANumber",
                     {"insert-label", "FILE", "--first", "--trace", "abc"},
                     1,
                     "'abc' is not a valid integer value\n"},
        TFailureCase{"InsertPastTheLastTrace",
                     {"insert-label", "FILE", "--first", "--trace", "30"},
                     1,
                     "Номер трассы должен быть от 0 до 29.\n"},
        TFailureCase{"ApplyFewerRowsThanLabels",
                     {"apply-labels", "FILE", "SHORT"},
                     1,
                     "'' is not a valid integer value\n"},
        TFailureCase{"ApplyTitleRowFirst",
                     {"apply-labels", "FILE", "TABLE", "--first-row", "0"},
                     1,
                     "'Цвет метки(индекс)' is not a valid integer value\n"},
        TFailureCase{"ApplyFirstRowNotANumber",
                     {"apply-labels", "FILE", "TABLE", "--first-row", "один"},
                     1,
                     "'один' is not a valid integer value\n"},
        TFailureCase{"ApplyTableMissing",
                     {"apply-labels", "FILE", "/nonexistent/labels.txt"},
                     1,
                     "Cannot open file \"/nonexistent/labels.txt\". No such file or directory\n"},
        TFailureCase{"ApplyUnknownDelimiter",
                     {"apply-labels", "FILE", "TABLE", "--delimiter", "pipe"},
                     2,
                     "trelvanox-cli apply-labels: unknown delimiter 'pipe'"},
        TFailureCase{"ResetNamesMissingFile",
                     {"reset-names", "/nonexistent/a.GPR2"},
                     1,
                     "Ошибка! Неверный формат или \n файл имеет атрибут -только для чтения-\n"}),
    [](const auto& info) { return info.param.Name; });

}  // namespace
}  // namespace trelvanox

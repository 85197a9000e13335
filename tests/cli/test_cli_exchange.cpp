#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli_run.h"
#include "common/cp1251.h"
#include "model/radar_records.h"
#include "model/text_field.h"
#include "radar_image.h"
#include "radargram_generator.h"
#include "segy/segy_labels.h"
#include "segy_read_back.h"
#include "temp_folder.h"

namespace trelvanox {
namespace {

using test::TBytes;

using test::AppendRecord;

// Four traces of one sample in the GPR layout, three of them labelled: one with a plain text,
// one without text and one whose text holds quotes.
TBytes LabelledFile() {
    TRadarHeader h{};
    h.TraceCount = 4;
    h.SampleCount = 1;
    h.LabelCount = 3;
    h.StartCoordinate = 150000;
    TBytes bytes;
    AppendRecord(bytes, h);
    bytes.resize(1536 + 4, 0);  // reserved area, block and sample table
    const std::pair<std::int32_t, std::uint32_t> traces[] = {
        {20000, 2}, {-5000, 0}, {105000, 1}, {250000, 3}};
    for (const auto& [coordinate, labelIndex] : traces) {
        TTraceHeader t{};
        t.Coordinate = coordinate;
        t.LabelIndex = labelIndex;
        AppendRecord(bytes, t);
        AppendRecord(bytes, 0.5f);
    }
    TLabelRecord first{1, 255, {}};
    WriteTextField(first.LabelText, "Опора №3");
    TLabelRecord second{2, 65280, {}};
    WriteTextField(second.LabelText, "Км\"5\"");
    AppendRecord(bytes, first);
    AppendRecord(bytes, second);
    AppendRecord(bytes, TLabelRecord{3, 16711680, {}});
    return bytes;
}

using TRun = test::TCliRun;
using test::RunTool;

std::vector<std::string> Records(const std::string& text) {
    std::vector<std::string> records;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        records.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return records;
}

TEST(CliExchangeTest, ExportLabelsWritesTheExportOfTheReadTable) {
    test::TTempFolder folder;
    const auto path = (folder / "small.GPR").string();
    const auto out = (folder / "small_метки.txt").string();
    test::WriteBytes(path, LabelledFile());

    const TRun run = RunTool({"export-labels", path, out, "--layout", "gpr"});

    ASSERT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(run.Out, "");
    EXPECT_EQ(run.Err, "");
    std::string expected = EncodeCp1251(
        "\"№ п/п\"\t\"№ трассы\"\t\"Подпись метки\"\t\"Координата \n от начала, м\"\t"
        "\"Цвет метки\"\tПК+\r\n"
        "1\t0\t\"Опора №3\"\t20\t255\tПК1+20\r\n"
        "2\t2\t\t105\t65280\tПК2+05\r\n"
        "3\t3\t\"Км\"\"5\"\"\"\t250\t16711680\tПК3+50\r\n");
    for (int row = 4; row < 6000; ++row) expected += "\t\t\t\t\t\r\n";
    EXPECT_EQ(test::ReadText(out), expected);
}

TEST(CliExchangeTest, ExportLabelsReadsGpr2ByDefaultAndReplacesTheOutput) {
    test::TTempFolder folder;
    TGeneratorOptions options;
    options.TraceCount = 60;
    options.SampleCount = 4;
    options.LabelEvery = 7;
    options.LabelFirst = 3;
    const auto path = (folder / "a.GPR2").string();
    const auto out = (folder / "a.txt").string();
    test::WriteBytes(path, GenerateRadargramBytes(options));
    test::WriteText(out, std::string(200000, 'x'));

    const TRun run = RunTool({"export-labels", path, out});

    ASSERT_EQ(run.Code, 0) << run.Err;
    const std::vector<std::string> records = Records(test::ReadText(out));
    ASSERT_EQ(records.size(), 6000u);
    const std::uint32_t labels = DescribeRadargram(options).LabelCount;
    ASSERT_EQ(labels, 9u);
    for (std::uint32_t k = 1; k <= labels; ++k) {
        const std::string start = std::to_string(k) + "\t" + std::to_string(3 + (k - 1) * 7) + "\t";
        EXPECT_EQ(records[k].substr(0, start.size()), start) << "record " << k;
    }
    EXPECT_EQ(records[labels + 1], "\t\t\t\t\t");
    EXPECT_EQ(records.back(), "\t\t\t\t\t");
}

TEST(CliExchangeTest, ExportLabelsReportsAnOutputItCannotCreate) {
    test::TTempFolder folder;
    const auto path = (folder / "small.GPR").string();
    const auto out = (folder / "missing" / "out.txt").string();
    test::WriteBytes(path, LabelledFile());

    const TRun run = RunTool({"export-labels", path, out, "--layout", "gpr"});

    EXPECT_EQ(run.Code, 1);
    EXPECT_EQ(run.Err, "Cannot create file \"" + out + "\". No such file or directory\n");
}

TEST(CliExchangeTest, ExportLabelsWritesNothingWhenTheRadargramCannotBeRead) {
    test::TTempFolder folder;
    const auto out = (folder / "out.txt").string();

    const TRun run = RunTool({"export-labels", (folder / "none.GPR2").string(), out});

    EXPECT_EQ(run.Code, 1);
    EXPECT_EQ(run.Err, "Ошибка! Неверный формат или \n файл имеет атрибут -только для чтения-\n");
    EXPECT_FALSE(std::filesystem::exists(out));
}

struct TUsageCase {
    const char* Name;
    std::vector<std::string> Args;
    std::string ErrStart;
};

void PrintTo(const TUsageCase& c, std::ostream* os) {
    *os << c.Name;
}

class CliExchangeUsageTest : public ::testing::TestWithParam<TUsageCase> {};

TEST_P(CliExchangeUsageTest, ExitsWithTwo) {
    const TRun run = RunTool(GetParam().Args);
    EXPECT_EQ(run.Code, 2);
    EXPECT_EQ(run.Err.substr(0, GetParam().ErrStart.size()), GetParam().ErrStart) << run.Err;
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, CliExchangeUsageTest,
    ::testing::Values(
        TUsageCase{"NoOutput", {"export-labels", "a.GPR2"}, "trelvanox-cli export-labels: "},
        TUsageCase{"BadLayout",
                   {"export-labels", "a", "b", "--layout", "x"},
                   "trelvanox-cli export-labels: unknown layout 'x'"},
        TUsageCase{"UnknownOption",
                   {"export-labels", "a", "b", "--delimiter", ";"},
                   "trelvanox-cli export-labels: unknown option --delimiter"},
        TUsageCase{"SegyNoOutput", {"export-segy", "a.GPR2"}, "trelvanox-cli export-segy: "},
        TUsageCase{"SegyBadLayout",
                   {"export-segy", "a", "b.sgy", "--layout", "x"},
                   "trelvanox-cli export-segy: unknown layout 'x'"},
        TUsageCase{"SegyLabelsWithAValue",
                   {"export-segy", "a", "b.sgy", "--no-labels", "yes"},
                   "trelvanox-cli export-segy: "}),
    [](const auto& info) { return info.param.Name; });

TEST(CliExchangeTest, HelpListsExportLabels) {
    const TRun run = RunTool({"--help"});
    EXPECT_NE(run.Out.find("export-labels FILE OUT"), std::string::npos);
    EXPECT_NE(run.Out.find("export-segy FILE OUT.sgy [--layout gpr|gpr2|auto] [--no-labels]"),
              std::string::npos);
}

// Where the export puts a trace's label number: bytes 233-236 of its trace header.
constexpr int kLabelNumberField = 233;

struct TSegyCase {
    const char* Name;
    std::vector<std::string> Options;
    bool Labels;
};

void PrintTo(const TSegyCase& c, std::ostream* os) {
    *os << c.Name;
}

class CliExportSegyTest : public ::testing::TestWithParam<TSegyCase> {};

TEST_P(CliExportSegyTest, WritesTheTracesAndTheLabelsFile) {
    test::TTempFolder folder;
    const auto path = (folder / "small.GPR").string();
    const auto out = folder / "small.sgy";
    test::WriteBytes(path, LabelledFile());
    std::vector<std::string> args{"export-segy", path, out.string()};
    args.insert(args.end(), GetParam().Options.begin(), GetParam().Options.end());

    const TRun run = RunTool(args);

    ASSERT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(run.Out + run.Err, "");
    const test::TSegyContents segy = test::ReadSegy(out);
    ASSERT_EQ(segy.Traces.size(), 4u);
    const std::int32_t labelNumbers[] = {1, 0, 2, 3};
    for (std::size_t t = 0; t < 4; ++t) {
        EXPECT_EQ(segy.Traces[t], std::vector<float>{0.5f});
        EXPECT_EQ(segy.Field(t, kLabelNumberField), GetParam().Labels ? labelNumbers[t] : 0);
    }
    const auto labels = folder / "small.labels.csv";
    ASSERT_EQ(std::filesystem::exists(labels), GetParam().Labels);
    if (!GetParam().Labels) return;
    EXPECT_EQ(test::ReadText(labels),
              "trace,chainage,coordinate_m,colour,text\r\n"
              "1,ПК1+20,170.000,#FF0000,Опора №3\r\n"
              "3,ПК2+05,255.000,#00FF00,\r\n"
              "4,ПК3+50,400.000,#0000FF,\"Км\"\"5\"\"\"\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Options, CliExportSegyTest,
    ::testing::Values(TSegyCase{"WithLabels", {"--layout", "gpr"}, true},
                      TSegyCase{"NoLabels", {"--no-labels", "--layout", "GPR"}, false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(CliExchangeTest, ExportSegyReportsAnOutputItCannotCreate) {
    test::TTempFolder folder;
    const auto path = (folder / "small.GPR").string();
    test::WriteBytes(path, LabelledFile());
    const auto out = (folder / "missing" / "small.sgy").string();

    const TRun run = RunTool({"export-segy", path, out, "--layout", "gpr"});

    EXPECT_EQ(run.Code, 1);
    EXPECT_EQ(run.Err, "Cannot create file \"" + out + "\". No such file or directory\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

}  // namespace
}  // namespace trelvanox

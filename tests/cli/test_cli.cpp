#include <gtest/gtest.h>

#include <cstring>

#include "cli_run.h"
#include "model/text_field.h"
#include "radar_image.h"
#include "radargram_generator.h"
#include "temp_folder.h"

namespace trelvanox {
namespace {

using test::TBytes;

using test::AppendRecord;

// Three traces of one sample in the GPR layout, two of them labelled, every value chosen so
// that a wrong format, division or lookup shows.
TBytes SmallFile() {
    TRadarHeader h{};
    h.TraceCount = 3;
    h.SampleCount = 1;
    h.LabelCount = 2;
    h.RecordTime = 0xFFFFFFFF;
    h.Permittivity = 9.3f;
    h.StepX = -1000;
    h.StartCoordinate = 150000;
    h.StartTime = -20;
    h.ScanMode = 7;
    h.Stacking = 16;
    WriteTextField(h.AntennaName, "АБ-1");
    WriteTextField(h.OperatorName, "Иванов \"И\"");
    WriteTextField(h.Description1, "Балласт");
    WriteTextField(h.Description3, "ДУЗП");
    TBytes bytes;
    AppendRecord(bytes, h);
    bytes.resize(1536 + 4, 0xAB);  // reserved area, block and sample table
    const std::pair<std::int32_t, std::uint32_t> traces[] = {{20000, 2}, {-5000, 0}, {105000, 1}};
    for (const auto& [coordinate, labelIndex] : traces) {
        TTraceHeader t{};
        t.Coordinate = coordinate;
        t.LabelIndex = labelIndex;
        AppendRecord(bytes, t);
        AppendRecord(bytes, 1.5f);
    }
    TLabelRecord first{2, 255, {}};
    WriteTextField(first.LabelText, "Опора №3");
    AppendRecord(bytes, first);
    AppendRecord(bytes, TLabelRecord{1, 65280, {}});
    return bytes;
}

using TRun = test::TCliRun;
using test::RunTool;

TEST(CliTest, InfoPrintsTheFileAsTheTablesShowIt) {
    test::TTempFolder folder;
    const auto path = (folder / "small.GPR").string();
    test::WriteBytes(path, SmallFile());

    const TRun run = RunTool({"info", path, "--layout", "GPR"});

    ASSERT_EQ(run.Code, 0) << run.Err;
    EXPECT_EQ(
        run.Out,
        "{\"file\":\"" + path +
            "\",\"size\":1756,\"layout\":\"GPR\","
            "\"header\":{\"TraceCount\":3,\"SampleCount\":1,\"LabelCount\":2,"
            "\"RecordTime\":4294967295,\"Permittivity\":9.3,\"StepX\":-1000,"
            "\"StartCoordinate\":150000,\"StartTime\":-20,\"ScanMode\":7,\"Stacking\":16,"
            "\"AntennaName\":\"АБ-1\",\"OperatorName\":\"Иванов \\\"И\\\"\",\"ObjectName\":\"\","
            "\"Description1\":\"Балласт\",\"Description2\":\"\",\"Description3\":\"ДУЗП\"},"
            "\"counts\":{\"LabelTotal\":2,\"LabelsWithText\":1,\"LabelsWithoutText\":1},"
            "\"header_table\":[[\"Параметр\",\"ед. изм\",\"Значение\"],"
            "[\"Оператор\",\"Ф.И.О\",\"Иванов \\\"И\\\"\"],[\"Антенный блок\",\"-\",\"АБ-1\"],"
            "[\"Режим сканирования\",\"-\",\"7\"],[\"Начальное время приема\",\"нс\",\"-20\"],"
            "[\"Коэффициент накопления данных\",\"-\",\"16\"],"
            "[\"Количество трасс в файле профиля\",\"шт.\",\"3\"],"
            "[\"Время записи\",\"нс\",\"4294967295\"],"
            "[\"Количество отсчётов в трассе\",\"-\",\"1\"],"
            "[\"Координата начала профиля\",\"ПК\",\"1\"],"
            "[\"Шаг перемещения по X\",\"см\",\"-100\"],"
            "[\"Диэлектрическая проницаемость\",\"-\",\"9.30000019073486\"],"
            "[\"Количество подписанных меток\",\"шт.\",\"2\"],"
            "[\"Объект\",\"№_Название\",\"\"],[\"Описание №1\",\"-\",\"Балласт\"],"
            "[\"Описание №2 (балласт/ДУЗП)\",\"-\",\"\"],"
            "[\"Описание №3 (позиционирующее устройство)\",\"-\",\"ДУЗП\"]],"
            "\"profile_length\":\"4294964\","
            "\"label_table\":[[\"1\",\"0\",\"Опора №3\",\"20\",\"255\",\"ПК1+20\"],"
            "[\"2\",\"2\",\"\",\"105\",\"65280\",\"ПК2+05\"]]}\n");
}

TEST(CliTest, RewriteAndPackWriteInPlace) {
    test::TTempFolder folder;
    TGeneratorOptions options;
    options.TraceCount = 30;
    options.SampleCount = 8;
    options.LabelEvery = 4;
    const auto path = (folder / "a.GPR2").string();
    const TBytes original = GenerateRadargramBytes(options);
    test::WriteBytes(path, original);
    const test::TRadarImage image = test::CutImage(original, TRadarLayout::Gpr2);

    EXPECT_EQ(RunTool({"rewrite", path}).Code, 0);
    EXPECT_EQ(test::ReadBytes(path), original);

    EXPECT_EQ(RunTool({"rewrite", path, "--write-layout", "gpr"}).Code, 0);
    const TBytes asGpr = test::ReadBytes(path);
    EXPECT_EQ(asGpr, test::PasteImage(original, image, image.Labels.size(), TRadarLayout::Gpr));

    test::WriteBytes(path, original);
    EXPECT_EQ(RunTool({"pack", path}).Code, 0);
    EXPECT_EQ(test::ReadBytes(path),
              test::PasteImage(original, image, image.Labels.size(), TRadarLayout::Gpr, true));
}

struct TFailureCase {
    const char* Name;
    std::vector<std::string> Args;
    int Code;
    std::string ErrStart;
};

void PrintTo(const TFailureCase& c, std::ostream* os) {
    *os << c.Name;
}

class CliFailureTest : public ::testing::TestWithParam<TFailureCase> {};

TEST_P(CliFailureTest, ExitsWithTheMessage) {
    const TRun run = RunTool(GetParam().Args);
    EXPECT_EQ(run.Code, GetParam().Code);
    EXPECT_EQ(run.Err.substr(0, GetParam().ErrStart.size()), GetParam().ErrStart);
    EXPECT_EQ(run.Out, "");
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, CliFailureTest,
    ::testing::Values(
        TFailureCase{"MissingFile",
                     {"info", "/nonexistent/a.GPR2"},
                     1,
                     "Ошибка! Неверный формат или \n файл имеет атрибут -только для чтения-\n"},
        TFailureCase{"RewriteMissingFile", {"rewrite", "/nonexistent/a.GPR2"}, 1, "Ошибка!"},
        TFailureCase{"NotARadargram", {"pack", "/dev/null"}, 1, "Ошибка!"},
        TFailureCase{"NoCommand", {}, 2, "trelvanox-cli: batch processing"},
        TFailureCase{"UnknownCommand", {"frobnicate"}, 2, "trelvanox-cli: unknown command"},
        TFailureCase{"UnknownOption",
                     {"info", "x", "--fast"},
                     2,
                     "trelvanox-cli info: unknown option --fast"},
        TFailureCase{"BadLayout",
                     {"info", "x", "--layout", "gpr3"},
                     2,
                     "trelvanox-cli info: unknown layout 'gpr3'"},
        TFailureCase{"MissingValue",
                     {"info", "x", "--layout"},
                     2,
                     "trelvanox-cli info: option --layout needs a value"},
        TFailureCase{"TwoFiles", {"pack", "x", "y"}, 2, "trelvanox-cli pack: expected 1"}),
    [](const auto& info) { return info.param.Name; });

TEST(CliTest, ReportsARadargramItCannotHold) {
    test::TTempFolder folder;
    TBytes bytes = SmallFile();
    test::PutU32(bytes, 28, 513);  // SampleCount beyond capacity
    test::WriteBytes(folder / "big", bytes);

    const TRun run = RunTool({"info", (folder / "big").string()});

    EXPECT_EQ(run.Code, 1);
    EXPECT_EQ(run.Err, "Радарограмма не открыта или не прочитана\n");
}

TEST(CliTest, HelpListsTheCommands) {
    const TRun run = RunTool({"--help"});
    EXPECT_EQ(run.Code, 0);
    for (const char* command : {"info FILE", "rewrite FILE", "pack FILE"})
        EXPECT_NE(run.Out.find(command), std::string::npos) << command;
}

}  // namespace
}  // namespace trelvanox

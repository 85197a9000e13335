#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "document/radargram_document.h"
#include "labels/picket_text.h"
#include "labels/trace_calibration.h"
#include "model_snapshot.h"
#include "radargram_generator.h"
#include "temp_folder.h"

namespace trelvanox {
namespace {

// A model of traceCount traces, coordinates 7 mm apart, the given start.
void Load(TRadargram& model, std::uint32_t traceCount, std::int64_t start) {
    TRadargramContents c;
    c.Header.TraceCount = traceCount;
    c.Header.StartCoordinate = start;
    for (std::uint32_t t = 0; t < traceCount; ++t) {
        TTraceHeader header{};
        header.Coordinate = static_cast<std::int32_t>(7 * t);
        c.TraceHeaders.push_back(header);
    }
    c.LabelRecords.resize(traceCount, TLabelRecord{});
    model.Replace(std::move(c), "profile.gpr2");
}

struct TCalibrationCase {
    std::string Name;
    std::int64_t Start;
    std::vector<TCalibrationAnchor> Anchors;
    bool SetStart;
    std::int64_t ExpectedStart;
    std::vector<std::int32_t> Expected;  // the coordinates of traces 0 to 10
    std::vector<double> StepsCm;
};

class CalibrationTest : public ::testing::TestWithParam<TCalibrationCase> {};

TEST_P(CalibrationTest, SetsEveryCoordinateOnTheAnchorsLines) {
    const TCalibrationCase& c = GetParam();
    TRadargram model;
    Load(model, 11, c.Start);
    const TCalibrationPlan plan = PlanCalibration(model, c.Anchors, c.SetStart);
    EXPECT_EQ(plan.StartCoordinate, c.ExpectedStart);
    EXPECT_EQ(plan.Coordinates, c.Expected);
    ASSERT_EQ(plan.StepsCm.size(), c.StepsCm.size());
    for (std::size_t i = 0; i < c.StepsCm.size(); ++i)
        EXPECT_NEAR(plan.StepsCm[i], c.StepsCm[i], 1e-9);

    const auto edit = CalibrationEdit(model, plan);
    ASSERT_TRUE(edit);
    edit->Apply(model);
    EXPECT_EQ(model.Header().StartCoordinate, c.ExpectedStart);
    for (std::size_t t = 0; t < c.Expected.size(); ++t)
        EXPECT_EQ(model.TraceHeaders()[t].Coordinate, c.Expected[t]) << "trace " << t;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CalibrationTest,
    ::testing::Values(
        TCalibrationCase{"AnchorsAtBothEnds",
                         0,
                         {{0, 0}, {10, 1000}},
                         false,
                         0,
                         {0, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000},
                         {10}},
        TCalibrationCase{"AnchorsGivenOutOfOrder",
                         0,
                         {{10, 1000}, {0, 0}},
                         false,
                         0,
                         {0, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000},
                         {10}},
        TCalibrationCase{"InsideAnchorsExtrapolateBothWays",
                         0,
                         {{2, 1000}, {4, 2000}},
                         false,
                         0,
                         {0, 500, 1000, 1500, 2000, 2500, 3000, 3500, 4000, 4500, 5000},
                         {50}},
        TCalibrationCase{"ThreeAnchorsTwoSegments",
                         0,
                         {{0, 0}, {5, 500}, {10, 2000}},
                         false,
                         0,
                         {0, 100, 200, 300, 400, 500, 800, 1100, 1400, 1700, 2000},
                         {10, 30}},
        TCalibrationCase{"DecreasingChainage",
                         0,
                         {{0, 10000}, {10, 0}},
                         false,
                         0,
                         {10000, 9000, 8000, 7000, 6000, 5000, 4000, 3000, 2000, 1000, 0},
                         {-100}},
        TCalibrationCase{"RoundsToTheNearestMillimetre",
                         0,
                         {{0, 0}, {3, 1000}},
                         false,
                         0,
                         {0, 333, 667, 1000, 1333, 1667, 2000, 2333, 2667, 3000, 3333},
                         {1000.0 / 3 / 10}},
        TCalibrationCase{"RoundsNegativeHalvesAwayFromZero",
                         0,
                         {{0, 0}, {2, -1}},
                         false,
                         0,
                         {0, -1, -1, -2, -2, -3, -3, -4, -4, -5, -5},
                         {-0.05}},
        TCalibrationCase{"KeepsTheStart",
                         150000,
                         {{0, 150000}, {10, 151000}},
                         false,
                         150000,
                         {0, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000},
                         {10}},
        TCalibrationCase{"CoordinatesBelowAKeptStart",
                         5000,
                         {{1, 1000}, {2, 2000}},
                         false,
                         5000,
                         {-5000, -4000, -3000, -2000, -1000, 0, 1000, 2000, 3000, 4000, 5000},
                         {100}},
        TCalibrationCase{"StartFromTheFirstTrace",
                         5000,
                         {{1, 1000}, {2, 2000}},
                         true,
                         0,
                         {0, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 8000, 9000, 10000},
                         {100}},
        TCalibrationCase{"StartFromTheFirstTraceOfAnInsideSegment",
                         0,
                         {{5, 1000500}, {10, 1001000}},
                         true,
                         1000000,
                         {0, 100, 200, 300, 400, 500, 600, 700, 800, 900, 1000},
                         {10}}),
    [](const auto& info) { return info.param.Name; });

struct TRefusalCase {
    std::string Name;
    std::vector<TCalibrationAnchor> Anchors;
    bool SetStart;
    std::string MessagePart;
};

class CalibrationRefusalTest : public ::testing::TestWithParam<TRefusalCase> {};

TEST_P(CalibrationRefusalTest, RefusesWithAMessage) {
    TRadargram model;
    Load(model, 11, 0);
    try {
        PlanCalibration(model, GetParam().Anchors, GetParam().SetStart);
        FAIL() << "no refusal";
    } catch (const TCalibrationError& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().MessagePart), std::string::npos)
            << error.what();
    }
}

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Refusals, CalibrationRefusalTest,
    ::testing::Values(
        TRefusalCase{"NoAnchor", {}, false, "двух меток"},
        TRefusalCase{"OneAnchor", {{3, 100}}, false, "двух меток"},
        TRefusalCase{"TraceBeyondTheFile", {{0, 0}, {11, 100}}, false, "Трассы 11 нет"},
        TRefusalCase{"TraceTwice", {{4, 0}, {4, 100}}, false, "дважды"},
        TRefusalCase{"EqualChainages", {{0, 100}, {4, 100}}, false, "строго"},
        TRefusalCase{"UpThenDown", {{0, 0}, {4, 100}, {8, 50}}, false, "строго"},
        TRefusalCase{"AnchorBeyond32Bits", {{0, 0}, {10, kInt32Max + 1}}, false, "трассы 10"},
        TRefusalCase{"ExtrapolationBeyond32Bits", {{0, 0}, {1, kInt32Max / 5}}, false, "трассы 6"}),
    [](const auto& info) { return info.param.Name; });

TEST(CalibrationEditTest, GivesNoStepWhenNothingChanges) {
    TRadargram model;
    Load(model, 11, 0);
    EXPECT_FALSE(CalibrationEdit(model, PlanCalibration(model, {{0, 0}, {10, 70}}, false)));
    EXPECT_TRUE(CalibrationEdit(model, PlanCalibration(model, {{0, 0}, {10, 71}}, false)));
}

// On a file: one step named after the recalculation, the chainages read back, and undo and redo
// byte for byte.
TEST(CalibrationDocumentTest, WritesOneStepThatUndoesByteForByte) {
    test::TTempFolder folder;
    const auto path = folder / "profile.gpr";
    TGeneratorOptions options;
    options.TraceCount = 50;
    options.SampleCount = 4;
    options.LabelEvery = 10;
    GenerateRadargram(path, options);
    TRadargramDocument document(folder / "state");
    ASSERT_TRUE(document.Open(path, options.Layout).Ok());
    const auto before = test::ReadBytes(path);

    const auto edit = CalibrationEdit(
        document.Model(), PlanCalibration(document.Model(), {{10, 500000}, {40, 530000}}, true));
    ASSERT_TRUE(edit);
    ASSERT_TRUE(document.Change({edit->Description, edit->Apply}).Ok());
    ASSERT_TRUE(document.ReadAgain().Ok());
    const TRadargram& model = document.Model();
    EXPECT_EQ(model.Header().StartCoordinate, 490000);
    for (std::uint32_t t = 0; t < 50; ++t)
        EXPECT_EQ(model.Header().StartCoordinate + model.TraceHeaders()[t].Coordinate,
                  490000 + 1000 * std::int64_t{t});
    const auto history = document.History();
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].Description, "Пересчёт координат по меткам");
    const auto after = test::ReadBytes(path);
    ASSERT_TRUE(document.Undo().Ok());
    EXPECT_EQ(test::ReadBytes(path), before);
    ASSERT_TRUE(document.Redo().Ok());
    EXPECT_EQ(test::ReadBytes(path), after);
}

struct TChainageCase {
    std::string Text;
    std::string Base;
    std::optional<std::int64_t> Millimetres;  // nothing: refused
};

class ChainageTextTest : public ::testing::TestWithParam<TChainageCase> {};

TEST_P(ChainageTextTest, ReadsPicketsAndMetres) {
    const TChainageCase& c = GetParam();
    const long double base = PicketLength(c.Base);
    if (c.Millimetres)
        EXPECT_EQ(ParseChainage(c.Text, base), *c.Millimetres);
    else
        EXPECT_THROW(ParseChainage(c.Text, base), TPicketTextError);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ChainageTextTest,
    ::testing::Values(
        TChainageCase{"ПК12+35", "100", 1235000}, TChainageCase{"пк12+35.5", "100", 1235500},
        TChainageCase{"12+35", "100", 1235000}, TChainageCase{" ПК 12+05 ", "100", 1205000},
        TChainageCase{"ПК12", "100", 1200000}, TChainageCase{"ПК12+35", "1000", 12035000},
        TChainageCase{"ПК-1+-5", "100", -105000}, TChainageCase{"1235.5", "100", 1235500},
        TChainageCase{"0.0004", "100", 0}, TChainageCase{"0.0006", "100", 1},
        TChainageCase{"-3", "100", -3000}, TChainageCase{"", "100", std::nullopt},
        TChainageCase{"ПК", "100", std::nullopt}, TChainageCase{"ПК12+", "100", std::nullopt},
        TChainageCase{"12,5", "100", std::nullopt}, TChainageCase{"мост", "100", std::nullopt},
        TChainageCase{"1e30", "100", std::nullopt}));

TEST(PicketLengthTest, RefusesAnythingButAPositiveNumber) {
    EXPECT_EQ(PicketLength("100"), 100);
    EXPECT_EQ(PicketLength("50.5"), 50.5L);
    for (const char* text : {"", "0", "-100", "abc", "nan"})
        EXPECT_THROW(PicketLength(text), TPicketTextError) << text;
}

TEST(PicketOfLabelTextTest, FindsThePicketALabelsTextNames) {
    EXPECT_EQ(PicketOfLabelText("ПК12", 100), 1200000);
    EXPECT_EQ(PicketOfLabelText("ПК12+50", 100), 1250000);
    EXPECT_EQ(PicketOfLabelText("пк 3+20 мост", 100), 320000);
    EXPECT_EQ(PicketOfLabelText("ПК12+50", 1000), 12050000);
    EXPECT_EQ(PicketOfLabelText("Переезд ПК12+55", 100), 1255000);
    EXPECT_EQ(PicketOfLabelText("Труба водопропускная ПК12", 100), 1200000);
    EXPECT_EQ(PicketOfLabelText("Опора ПКМ, ПК7+10.5", 100), 710500);
    EXPECT_EQ(PicketOfLabelText("Стрелочный перевод №11", 100), std::nullopt);
    EXPECT_EQ(PicketOfLabelText("12+50", 100), std::nullopt);
    EXPECT_EQ(PicketOfLabelText("Мост", 100), std::nullopt);
    EXPECT_EQ(PicketOfLabelText("ПКМ", 100), std::nullopt);
    EXPECT_EQ(PicketOfLabelText("", 100), std::nullopt);
}

}  // namespace
}  // namespace trelvanox

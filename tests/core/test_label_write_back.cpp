#include "labels/label_write_back.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "common/conversion.h"
#include "labels/edit_table.h"
#include "model/text_field.h"
#include "model_snapshot.h"

namespace trelvanox {
namespace {

using TBytes = std::vector<std::uint8_t>;

struct TTrace {
    std::int32_t Coordinate;
    std::uint32_t LabelIndex;
};

struct TRecord {
    std::int32_t Number;
    std::uint32_t Color;
    std::string Text;
};

// A model as a read of a file with these traces and records leaves it: one record slot per
// trace, the counters taken from the trace headers, and bytes in every reserved place and
// behind every text's NUL so that a stray write shows.
void Load(TRadargram& model, const std::vector<TTrace>& traces,
          const std::vector<TRecord>& records) {
    TRadargramContents c;
    c.Header.TraceCount = static_cast<std::uint32_t>(traces.size());
    c.Header.LabelCount = 99;
    for (std::size_t t = 0; t < traces.size(); ++t) {
        TTraceHeader header;
        std::memset(&header, static_cast<int>(0xA0 + t), sizeof header);
        header.Coordinate = traces[t].Coordinate;
        header.LabelIndex = traces[t].LabelIndex;
        c.TraceHeaders.push_back(header);
        if (traces[t].LabelIndex != 0) ++c.LabelTotal;
        if (traces[t].LabelIndex == 1) ++c.LabelsWithoutText;
        if (traces[t].LabelIndex > 1) ++c.LabelsWithText;
    }
    c.LabelRecords.resize(traces.size(), TLabelRecord{});
    for (std::size_t k = 0; k < records.size(); ++k) {
        TLabelRecord& record = c.LabelRecords[k];
        std::memset(record.LabelText, static_cast<int>('a' + k), kTextFieldSize);
        WriteTextField(record.LabelText, records[k].Text);
        record.LabelNumber = records[k].Number;
        record.LabelColor = records[k].Color;
    }
    model.Replace(std::move(c), "profile.GPR2");
}

using test::Snapshot;

// The edit table with its titles and the given rows from row 1 on.
TStringGrid Grid(const std::vector<std::vector<std::string>>& rows) {
    TStringGrid grid(4, kEditTableRows);
    SetEditTableCaptions(grid);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            grid.SetCell(static_cast<int>(c), static_cast<int>(r + 1), rows[r][c]);
    }
    return grid;
}

std::string Repeat(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) result += text;
    return result;
}

std::string Text(const TLabelRecord& record) {
    return ReadTextField(record.LabelText);
}

std::vector<std::uint32_t> LabelIndices(const TRadargram& model) {
    std::vector<std::uint32_t> indices;
    for (const TTraceHeader& t : model.TraceHeaders()) indices.push_back(t.LabelIndex);
    return indices;
}

std::vector<std::int32_t> Coordinates(const TRadargram& model) {
    std::vector<std::int32_t> coordinates;
    for (const TTraceHeader& t : model.TraceHeaders()) coordinates.push_back(t.Coordinate);
    return coordinates;
}

// A map whose entries all differ, so that a shifted lookup shows.
constexpr TColourMap kDistinctMap = {101, 102, 103, 104, 105, 106, 107,
                                     108, 109, 110, 111, 112, 113, 114};

TEST(ColourForIndexTest, StartMapHoldsTheDocumentedColours) {
    const TColourMap expected = {16711680, 8388608, 0,   128,   32896, 16711935, 255,
                                 0,        0,       255, 65280, 65535, 16711935, 128};
    EXPECT_EQ(kStartColourMap, expected);
}

struct TColourCase {
    std::int32_t Index;
    std::uint32_t Colour;
};

class ColourForIndexTest : public ::testing::TestWithParam<TColourCase> {};

TEST_P(ColourForIndexTest, MapsOneToFourteenAndRedOtherwise) {
    EXPECT_EQ(ColourForIndex(GetParam().Index, kDistinctMap), GetParam().Colour);
}

INSTANTIATE_TEST_SUITE_P(
    Indices, ColourForIndexTest,
    ::testing::Values(TColourCase{1, 101}, TColourCase{2, 102}, TColourCase{13, 113},
                      TColourCase{14, 114}, TColourCase{0, 255}, TColourCase{15, 255},
                      TColourCase{-3, 255},
                      TColourCase{std::numeric_limits<std::int32_t>::min(), 255},
                      TColourCase{std::numeric_limits<std::int32_t>::max(), 255}));

class WriteBackTest : public ::testing::Test {
  protected:
    // Five traces, three of them labelled: trace 1 points at record 1, trace 3 has no text,
    // trace 4 points at record 0.
    void SetUp() override {
        Load(model_, {{1000, 0}, {2000, 3}, {3000, 0}, {4000, 1}, {5000, 2}},
             {{7, 200, "Опора"}, {8, 201, "Мост"}});
    }
    TRadargram model_;
};

TEST_F(WriteBackTest, WritesTextsColoursAndCoordinatesAndRenumbersTheLabels) {
    const TLabelRecord before = model_.LabelRecords()[0];
    const TStringGrid grid = Grid(
        {{"1", "Пикет 1", "12", "1"}, {"2", "", "-7", "14"}, {"3", Repeat("Щ", 45), "0", "15"}});

    WriteBackLabels(model_, grid, 1, TLabelScope{}, kDistinctMap);

    EXPECT_EQ(model_.Header().LabelCount, 3u);
    const auto records = model_.LabelRecords();
    EXPECT_EQ(Text(records[0]), "Пикет 1");
    EXPECT_EQ(Text(records[1]), "");
    EXPECT_EQ(Text(records[2]), Repeat("Щ", 39));
    EXPECT_EQ(records[0].LabelNumber, 2);
    EXPECT_EQ(records[1].LabelNumber, 3);
    EXPECT_EQ(records[2].LabelNumber, 4);
    EXPECT_EQ(records[0].LabelColor, 101u);
    EXPECT_EQ(records[1].LabelColor, 114u);
    EXPECT_EQ(records[2].LabelColor, 255u);
    // The bytes behind the new NUL keep what the field held.
    const std::size_t used = std::strlen(records[0].LabelText) + 1;
    EXPECT_EQ(0, std::memcmp(records[0].LabelText + used, before.LabelText + used,
                             kTextFieldSize - used));
    EXPECT_EQ(LabelIndices(model_), (std::vector<std::uint32_t>{0, 2, 0, 3, 4}));
    EXPECT_EQ(Coordinates(model_), (std::vector<std::int32_t>{1000, 12000, 3000, -7000, 0}));
}

// What the read-label table shows for each label: the text of the record its trace points at.
std::vector<std::string> ShownTexts(const TRadargram& model) {
    std::vector<std::string> texts;
    for (const TTraceHeader& t : model.TraceHeaders()) {
        if (t.LabelIndex == 1) texts.emplace_back();
        if (t.LabelIndex > 1) texts.push_back(Text(model.LabelRecords()[t.LabelIndex - 2]));
    }
    return texts;
}

TEST_F(WriteBackTest, TheTransferredTableWritesTheSameLabelsBack) {
    // The read-label table as the transfer copies it: labels in trace order, metres.
    const TStringGrid grid =
        Grid({{"1", "Мост", "2", "3"}, {"2", "", "4", "3"}, {"3", "Опора", "5", "3"}});
    const std::vector<std::string> shownBefore = ShownTexts(model_);
    const std::vector<std::int32_t> coordinatesBefore = Coordinates(model_);

    WriteBackLabels(model_, grid, 1, TLabelScope{}, kStartColourMap);

    EXPECT_EQ(ShownTexts(model_), shownBefore);
    EXPECT_EQ(Coordinates(model_), coordinatesBefore);
    EXPECT_EQ(LabelIndices(model_), (std::vector<std::uint32_t>{0, 2, 0, 3, 4}));
    for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(model_.LabelRecords()[k].LabelColor, 0u) << k;
}

// Each flag gates only its own part; the count and the renumbering happen whatever the flags,
// and the cells of a part that is off are not even read.
struct TScopeCase {
    const char* Name;
    TLabelScope Scope;
};

void PrintTo(const TScopeCase& c, std::ostream* os) {
    *os << c.Name;
}

class WriteBackScopeTest : public WriteBackTest,
                           public ::testing::WithParamInterface<TScopeCase> {};

TEST_P(WriteBackScopeTest, ChangesOnlyWhatTheScopeAllows) {
    const TLabelScope scope = GetParam().Scope;
    const std::string coordinate = scope.Coord ? "12" : "abc";
    const std::string colour = scope.Color ? "2" : "abc";
    const TStringGrid grid = Grid({{"", "Новая", coordinate, colour},
                                   {"", "Новая", coordinate, colour},
                                   {"", "Новая", coordinate, colour}});

    WriteBackLabels(model_, grid, 1, scope, kDistinctMap);

    EXPECT_EQ(model_.Header().LabelCount, 3u);
    EXPECT_EQ(LabelIndices(model_), (std::vector<std::uint32_t>{0, 2, 0, 3, 4}));
    const TLabelRecord& first = model_.LabelRecords()[0];
    EXPECT_EQ(Text(first), scope.Text ? "Новая" : "Опора");
    EXPECT_EQ(first.LabelNumber, scope.Text ? 2 : 7);
    EXPECT_EQ(first.LabelColor, scope.Color ? 102u : 200u);
    EXPECT_EQ(Coordinates(model_),
              scope.Coord ? (std::vector<std::int32_t>{1000, 12000, 3000, 12000, 12000})
                          : (std::vector<std::int32_t>{1000, 2000, 3000, 4000, 5000}));
}

INSTANTIATE_TEST_SUITE_P(Scopes, WriteBackScopeTest,
                         ::testing::Values(TScopeCase{"All", {true, true, true}},
                                           TScopeCase{"TextOnly", {true, false, false}},
                                           TScopeCase{"CoordOnly", {false, true, false}},
                                           TScopeCase{"ColorOnly", {false, false, true}},
                                           TScopeCase{"None", {false, false, false}}),
                         [](const auto& info) { return info.param.Name; });

TEST(WriteBackLabelsWithoutTextTest, NumbersThemAsLabelsWithText) {
    TRadargram model;
    Load(model, {{0, 1}, {0, 0}, {0, 1}, {0, 1}}, {});
    const TStringGrid grid =
        Grid({{"1", "А", "1", "1"}, {"2", "Б", "2", "2"}, {"3", "В", "3", "3"}});

    WriteBackLabels(model, grid, 1, TLabelScope{}, kStartColourMap);

    EXPECT_EQ(LabelIndices(model), (std::vector<std::uint32_t>{2, 0, 3, 4}));
    EXPECT_EQ(Text(model.LabelRecords()[0]), "А");
    EXPECT_EQ(Text(model.LabelRecords()[2]), "В");
    EXPECT_EQ(model.LabelRecords()[2].LabelNumber, 4);
    EXPECT_EQ(model.LabelRecords()[2].LabelColor, kStartColourMap[2]);
    EXPECT_EQ(Coordinates(model), (std::vector<std::int32_t>{1000, 0, 2000, 3000}));
}

TEST_F(WriteBackTest, ReadsOnlyOneRowPerLabelFromTheFirstRow) {
    TStringGrid grid = Grid({{"", "нет", "x", "x"},
                             {"", "нет", "x", "x"},
                             {"", "А", "1", "1"},
                             {"", "Б", "2", "2"},
                             {"", "В", "3", "3"},
                             {"", "лишняя", "x", "x"},
                             {"", "лишняя", "x", "x"}});

    WriteBackLabels(model_, grid, 3, TLabelScope{}, kDistinctMap);

    EXPECT_EQ(Text(model_.LabelRecords()[2]), "В");
    EXPECT_EQ(Coordinates(model_), (std::vector<std::int32_t>{1000, 1000, 3000, 2000, 3000}));
}

TEST_F(WriteBackTest, FewerRowsThanLabelsWithTextsOnlyGiveEmptyTexts) {
    const TStringGrid grid = Grid({{"1", "А"}, {"2", "Б"}});

    WriteBackLabels(model_, grid, 1, TLabelScope{true, false, false}, kDistinctMap);

    EXPECT_EQ(Text(model_.LabelRecords()[1]), "Б");
    EXPECT_EQ(Text(model_.LabelRecords()[2]), "");
    EXPECT_EQ(model_.LabelRecords()[2].LabelNumber, 4);
}

// A cell that is not a whole number, or a coordinate the 32-bit field cannot hold, stops the
// write-back before anything changes; colour cells are converted before coordinate cells.
struct TRefusalCase {
    const char* Name;
    std::vector<std::vector<std::string>> Rows;
    std::int32_t FirstRow;
    std::string Message;
};

void PrintTo(const TRefusalCase& c, std::ostream* os) {
    *os << c.Name;
}

class WriteBackRefusalTest : public WriteBackTest,
                             public ::testing::WithParamInterface<TRefusalCase> {};

TEST_P(WriteBackRefusalTest, ThrowsAndChangesNothing) {
    const TBytes before = Snapshot(model_);

    try {
        WriteBackLabels(model_, Grid(GetParam().Rows), GetParam().FirstRow, TLabelScope{},
                        kDistinctMap);
        ADD_FAILURE() << "no error";
    } catch (const TConversionError& e) {
        EXPECT_EQ(std::string(e.what()), GetParam().Message);
    }
    EXPECT_EQ(Snapshot(model_), before);
}

const std::vector<std::string> kGoodRow = {"", "А", "1", "1"};

INSTANTIATE_TEST_SUITE_P(
    Refusals, WriteBackRefusalTest,
    ::testing::Values(TRefusalCase{"FewerRowsThanLabels",
                                   {kGoodRow, kGoodRow},
                                   1,
                                   "'' is not a valid integer value"},
                      TRefusalCase{"TitleRowAsFirst",
                                   {kGoodRow, kGoodRow, kGoodRow},
                                   0,
                                   "'Цвет метки(индекс)' is not a valid integer value"},
                      TRefusalCase{"NegativeFirstRowReadsEmpty",
                                   {kGoodRow, kGoodRow, kGoodRow},
                                   -1,
                                   "'' is not a valid integer value"},
                      TRefusalCase{"FirstRowFarBeyondTheTable",
                                   {kGoodRow, kGoodRow, kGoodRow},
                                   std::numeric_limits<std::int32_t>::max(),
                                   "'' is not a valid integer value"},
                      TRefusalCase{"ColoursBeforeCoordinates",
                                   {{"", "А", "1,5", "1"}, kGoodRow, {"", "В", "1", "красный"}},
                                   1,
                                   "'красный' is not a valid integer value"},
                      TRefusalCase{"CoordinateNotWhole",
                                   {kGoodRow, kGoodRow, {"", "В", "12.5", "1"}},
                                   1,
                                   "'12.5' is not a valid integer value"},
                      TRefusalCase{"CoordinateBeyondTheField",
                                   {kGoodRow, {"", "Б", "2147484", "1"}, kGoodRow},
                                   1,
                                   "'2147484' is not a valid integer value"},
                      TRefusalCase{"CoordinateBelowTheField",
                                   {kGoodRow, kGoodRow, {"", "В", "-2147484", "1"}},
                                   1,
                                   "'-2147484' is not a valid integer value"},
                      TRefusalCase{"CoordinateBeyond32Bits",
                                   {kGoodRow, kGoodRow, {"", "В", "2147483648", "1"}},
                                   1,
                                   "'2147483648' is not a valid integer value"}),
    [](const auto& info) { return info.param.Name; });

TEST_F(WriteBackTest, CoordinatesUpToTheFieldLimitsAreWritten) {
    const TStringGrid grid =
        Grid({{"", "", "2147483", "1"}, {"", "", "-2147483", "1"}, {"", "", "+5", "1"}});

    WriteBackLabels(model_, grid, 1, TLabelScope{}, kDistinctMap);

    EXPECT_EQ(Coordinates(model_),
              (std::vector<std::int32_t>{1000, 2147483000, 3000, -2147483000, 5000}));
}

TEST(WriteBackWithoutFileTest, LeavesAModelWithoutHeaderAlone) {
    TRadargram model;
    WriteBackLabels(model, Grid({kGoodRow}), 1, TLabelScope{}, kStartColourMap);
    EXPECT_FALSE(model.HasHeader());
    EXPECT_EQ(model.Header().LabelCount, 0u);
}

}  // namespace
}  // namespace trelvanox

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "document/radargram_document.h"
#include "header/header_table.h"
#include "labels/read_label_table.h"
#include "model/file_messages.h"
#include "model/radargram_io.h"
#include "model_snapshot.h"
#include "radargram_generator.h"
#include "temp_folder.h"

namespace trelvanox {

// Failure output names the layout rather than its bytes.
static void PrintTo(TRadarLayout layout, std::ostream* os) {
    *os << (layout == TRadarLayout::Gpr ? "Gpr" : "Gpr2");
}

namespace {

const std::string kStep = "Запись";

constexpr TRadarLayout kGpr = TRadarLayout::Gpr;
constexpr TRadarLayout kGpr2 = TRadarLayout::Gpr2;
constexpr int kValueCol = static_cast<int>(THeaderTableColumn::Value);
constexpr int kStartPicketRow = 9;
constexpr int kStepRow = 10;

TRadarLayout OtherLayout(TRadarLayout layout) {
    return layout == kGpr ? kGpr2 : kGpr;
}

std::string LayoutName(TRadarLayout layout) {
    return layout == kGpr ? "Gpr" : "Gpr2";
}

TGeneratorOptions Small(TRadarLayout layout, std::uint32_t seed = 7) {
    TGeneratorOptions o;
    o.TraceCount = 40;
    o.SampleCount = 16;
    o.Layout = layout;
    o.Seed = seed;
    o.LabelEvery = 3;
    o.TrailingBytes = 5;
    return o;
}

// More labelled traces than the read-label table has rows, with the least bytes per trace.
TGeneratorOptions ManyLabels(TRadarLayout layout) {
    TGeneratorOptions o;
    o.TraceCount = 6500;
    o.SampleCount = 1;
    o.Layout = layout;
    o.Seed = 3;
    o.LabelEvery = 1;
    return o;
}

// What the document should show of a file: the tables filled from a model of its own.
struct TView {
    TStringGrid HeaderTable{static_cast<int>(THeaderTableColumn::Count), kHeaderTableRows};
    std::string ProfileLength;
    TStringGrid ReadLabelTable{static_cast<int>(TReadLabelColumn::Count), kReadLabelRows};
    TReadLabelCounts Counts;
};

TView ReadView(const std::filesystem::path& path, TRadarLayout layout) {
    TView view;
    TRadargram model;
    const TReadResult read = ReadRadargram(model, path, layout);
    EXPECT_EQ(read.Code, 0) << path;
    view.ProfileLength = FillHeaderTable(view.HeaderTable, model.Header());
    view.Counts = FillReadLabelTable(view.ReadLabelTable, model);
    return view;
}

::testing::AssertionResult SameCells(const TStringGrid& actual, const TStringGrid& expected) {
    if (actual.ColCount() != expected.ColCount() || actual.RowCount() != expected.RowCount())
        return ::testing::AssertionFailure()
               << "size " << actual.ColCount() << " x " << actual.RowCount() << ", expected "
               << expected.ColCount() << " x " << expected.RowCount();
    for (int row = 0; row < actual.RowCount(); ++row)
        for (int col = 0; col < actual.ColCount(); ++col)
            if (actual.Cell(col, row) != expected.Cell(col, row))
                return ::testing::AssertionFailure()
                       << "cell (" << col << ", " << row << ") is \"" << actual.Cell(col, row)
                       << "\", expected \"" << expected.Cell(col, row) << "\"";
    return ::testing::AssertionSuccess();
}

std::array<std::string, 3> CountTexts(const TReadLabelCounts& counts) {
    return {counts.Total, counts.WithText, counts.WithoutText};
}

// Row 0 as the titles leave it, every other row empty: the table of a read that did not finish.
::testing::AssertionResult EmptyBelowTitles(const TStringGrid& grid) {
    TStringGrid expected(static_cast<int>(TReadLabelColumn::Count), kReadLabelRows);
    SetReadLabelCaptions(expected);
    return SameCells(grid, expected);
}

void ExpectMessage(const TDocumentResult& result, const std::optional<TFileMessage>& expected) {
    ASSERT_TRUE(expected);
    EXPECT_FALSE(result.Ok());
    EXPECT_EQ(result.Code(), 1);
    ASSERT_TRUE(result.Message);
    EXPECT_EQ(result.Message->Text, expected->Text);
    EXPECT_EQ(result.Message->Caption, expected->Caption);
    EXPECT_EQ(result.Message->Icon, expected->Icon);
}

void ExpectOk(const TDocumentResult& result) {
    EXPECT_TRUE(result.Ok()) << (result.Message ? result.Message->Text : std::string());
    EXPECT_EQ(result.Code(), 0);
}

// A document whose notifications are recorded, and a folder for its files.
class DocumentFixture : public ::testing::Test {
  protected:
    DocumentFixture() {
        document_.Subscribe([this](TDocumentChange change) { changes_.push_back(change); });
    }

    std::filesystem::path Generate(const std::string& name, const TGeneratorOptions& options) {
        const auto path = folder_ / name;
        GenerateRadargram(path, options);
        return path;
    }

    void ExpectShows(const TView& view) {
        EXPECT_TRUE(SameCells(document_.HeaderTable(), view.HeaderTable));
        EXPECT_EQ(document_.ProfileLengthText(), view.ProfileLength);
        EXPECT_TRUE(SameCells(document_.ReadLabelTable(), view.ReadLabelTable));
        EXPECT_EQ(CountTexts(document_.LabelCounts()), CountTexts(view.Counts));
    }

    test::TTempFolder folder_;
    TRadargramDocument document_;
    std::vector<TDocumentChange> changes_;
};

class DocumentTest : public DocumentFixture, public ::testing::WithParamInterface<TRadarLayout> {};

TEST_P(DocumentTest, OpenShowsWhatASeparateReadOfTheFileGives) {
    const TGeneratorOptions options = Small(GetParam());
    Generate("a.gpr", options);
    // A spelling the reader resolves, to tell the path as given from the resolved one.
    const std::filesystem::path given = folder_.Path() / "." / "a.gpr";
    std::vector<std::string> pathsSeen;
    document_.Subscribe([&](TDocumentChange) { pathsSeen.push_back(document_.Path().string()); });

    const TDocumentResult result = document_.Open(given, GetParam());

    ExpectOk(result);
    EXPECT_FALSE(result.Message);
    EXPECT_EQ(document_.Path().native(), given.native());
    EXPECT_EQ(document_.Layout(), GetParam());
    EXPECT_EQ(document_.FileSize(), std::filesystem::file_size(given));
    EXPECT_EQ(document_.FileSize(), DescribeRadargram(options).FileSize);
    const TView view = ReadView(given, GetParam());
    ASSERT_EQ(view.Counts.Total, "14");  // the comparison covers filled label rows
    ExpectShows(view);
    EXPECT_EQ(changes_, std::vector{TDocumentChange::Read});
    // Observers are told once the document already shows the file.
    EXPECT_EQ(pathsSeen, std::vector{given.string()});
}

// Rows, counts and header values of a file with more labels must not outlive it.
TEST_P(DocumentTest, SecondOpenShowsOnlyTheSecondFile) {
    TGeneratorOptions first = Small(GetParam(), 1);
    first.TraceCount = 90;
    first.LabelEvery = 2;
    first.StepX = 120;
    first.StartCoordinate = 9900000;
    const auto firstPath = Generate("first.gpr", first);
    const auto secondPath = Generate("second.gpr", Small(GetParam(), 2));
    ExpectOk(document_.Open(firstPath, GetParam()));

    ExpectOk(document_.Open(secondPath, GetParam()));

    EXPECT_EQ(document_.Path(), secondPath);
    EXPECT_EQ(document_.FileSize(), std::filesystem::file_size(secondPath));
    ExpectShows(ReadView(secondPath, GetParam()));
    EXPECT_EQ(changes_, (std::vector{TDocumentChange::Read, TDocumentChange::Read}));
}

TEST_P(DocumentTest, ReadLabelTableReturnsToItsStandardRowsOnEveryOpen) {
    const auto many = Generate("many.gpr", ManyLabels(GetParam()));
    const auto small = Generate("small.gpr", Small(GetParam()));

    ExpectOk(document_.Open(many, GetParam()));
    EXPECT_GT(document_.ReadLabelTable().RowCount(), kReadLabelRows);
    ExpectShows(ReadView(many, GetParam()));

    ExpectOk(document_.Open(small, GetParam()));
    EXPECT_EQ(document_.ReadLabelTable().RowCount(), kReadLabelRows);
    ExpectShows(ReadView(small, GetParam()));

    // A failed open starts from the standard table as well.
    ExpectOk(document_.Open(many, GetParam()));
    EXPECT_FALSE(document_.Open(folder_ / "missing.gpr", GetParam()).Ok());
    EXPECT_TRUE(EmptyBelowTitles(document_.ReadLabelTable()));
}

TEST_P(DocumentTest, WriteStoresAModelChangeThatReadAgainShows) {
    const auto path = Generate("a.gpr", Small(GetParam()));
    ExpectOk(document_.Open(path, GetParam()));
    TRadargram& model = document_.Model();
    // Trace 6 carries the third label, so the change reaches the read-label table too.
    ASSERT_NE(model.TraceHeaders()[6].LabelIndex, 0u);
    model.TraceHeaders()[6].Coordinate = 777000;
    model.Header().StartCoordinate = 4200000;

    ExpectOk(document_.Write(kStep));
    EXPECT_EQ(changes_, (std::vector{TDocumentChange::Read, TDocumentChange::Written}));
    ExpectOk(document_.ReadAgain());

    EXPECT_EQ(changes_, (std::vector{TDocumentChange::Read, TDocumentChange::Written,
                                     TDocumentChange::Read}));
    EXPECT_EQ(document_.Model().TraceHeaders()[6].Coordinate, 777000);
    EXPECT_EQ(document_.Model().Header().StartCoordinate, 4200000);
    EXPECT_EQ(document_.Path(), path);
    EXPECT_EQ(document_.Layout(), GetParam());
    const TView view = ReadView(path, GetParam());
    EXPECT_EQ(view.HeaderTable.Cell(kValueCol, kStartPicketRow), "42");
    EXPECT_EQ(view.ReadLabelTable.Cell(static_cast<int>(TReadLabelColumn::Coordinate), 3), "777");
    ExpectShows(view);
}

TEST_P(DocumentTest, WriteWithoutGapsPacksTheTracesAndKeepsTheLayout) {
    const auto path = Generate("a.gpr", Small(GetParam()));
    ExpectOk(document_.Open(path, GetParam()));
    document_.Model().TraceHeaders()[5].Coordinate = 555000;

    ExpectOk(document_.WriteWithoutGaps(kStep));

    EXPECT_EQ(changes_, (std::vector{TDocumentChange::Read, TDocumentChange::Written}));
    EXPECT_EQ(document_.Layout(), GetParam());
    // Packed traces lie where the layout without gaps has them.
    TRadargram packed;
    ASSERT_EQ(ReadRadargram(packed, path, kGpr).Code, 0);
    const TRadargram& model = document_.Model();
    ASSERT_EQ(packed.TraceHeaders().size(), model.TraceHeaders().size());
    for (std::uint32_t t = 0; t < model.TraceHeaders().size(); ++t) {
        EXPECT_EQ(0, std::memcmp(&packed.TraceHeaders()[t], &model.TraceHeaders()[t],
                                 sizeof(TTraceHeader)))
            << t;
        EXPECT_EQ(0, std::memcmp(packed.Samples(t).data(), model.Samples(t).data(),
                                 model.Samples(t).size_bytes()))
            << t;
    }
    EXPECT_EQ(packed.TraceHeaders()[5].Coordinate, 555000);
}

TEST_P(DocumentTest, WriteIntoAnotherFileIsRefusedAndTellsNoOne) {
    const auto path = Generate("a.gpr", Small(GetParam(), 1));
    const auto other = Generate("b.gpr", Small(GetParam(), 2));
    const auto otherBytes = test::ReadBytes(other);
    ExpectOk(document_.Open(path, GetParam()));
    const auto notLoaded = WriteFailureMessage(TWriteStatus::NotLoaded);

    ExpectMessage(document_.Write(other, GetParam(), kStep), notLoaded);
    ExpectMessage(document_.Write(other, OtherLayout(GetParam()), kStep), notLoaded);
    ExpectMessage(document_.WriteWithoutGaps(other, kStep), notLoaded);

    EXPECT_EQ(changes_, std::vector{TDocumentChange::Read});
    EXPECT_EQ(document_.Layout(), GetParam());
    EXPECT_EQ(test::ReadBytes(other), otherBytes);
}

TEST_P(DocumentTest, WriteInTheOtherLayoutMakesItTheDocumentsLayout) {
    const auto path = Generate("a.gpr", Small(GetParam()));
    ExpectOk(document_.Open(path, GetParam()));
    const auto before = test::Snapshot(document_.Model());
    const TRadarLayout other = OtherLayout(GetParam());

    ExpectOk(document_.Write(document_.Path(), other, kStep));

    EXPECT_EQ(document_.Layout(), other);
    EXPECT_EQ(changes_, (std::vector{TDocumentChange::Read, TDocumentChange::Written}));
    // The next read takes the new layout and finds the same radargram.
    ExpectOk(document_.ReadAgain());
    EXPECT_EQ(document_.Layout(), other);
    EXPECT_EQ(test::Snapshot(document_.Model()), before);
    ExpectShows(ReadView(path, other));
}

INSTANTIATE_TEST_SUITE_P(Layouts, DocumentTest, ::testing::Values(kGpr, kGpr2),
                         [](const auto& info) { return LayoutName(info.param); });

struct TFailedOpen {
    const char* Name;
    std::optional<std::size_t> Bytes;  // the file's length, or no file at all
    TReadStatus Status;
    const char* Caption;
    TMessageIcon Icon;
};

void PrintTo(const TFailedOpen& failure, std::ostream* os) {
    *os << failure.Name;
}

class FailedOpenTest : public DocumentFixture,
                       public ::testing::WithParamInterface<std::tuple<TRadarLayout, TFailedOpen>> {
};

// The failed open asks for the other layout, so that a kept layout shows.
TEST_P(FailedOpenTest, KeepsTheEarlierFileButEmptiesTheReadLabelTable) {
    const auto [layout, failure] = GetParam();
    const auto good = Generate("good.gpr", Small(layout));
    const auto bad = folder_ / "bad.gpr";
    if (failure.Bytes) test::WriteBytes(bad, std::vector<std::uint8_t>(*failure.Bytes, 0));
    ExpectOk(document_.Open(good, layout));
    const TView view = ReadView(good, layout);

    const TDocumentResult result = document_.Open(bad, OtherLayout(layout));

    ExpectMessage(result, ReadFailureMessage(failure.Status));
    EXPECT_EQ(result.Message->Caption, failure.Caption);
    EXPECT_EQ(result.Message->Icon, failure.Icon);
    EXPECT_EQ(document_.Path(), good);
    EXPECT_EQ(document_.Layout(), layout);
    EXPECT_TRUE(SameCells(document_.HeaderTable(), view.HeaderTable));
    EXPECT_EQ(document_.ProfileLengthText(), view.ProfileLength);
    EXPECT_EQ(CountTexts(document_.LabelCounts()), CountTexts(view.Counts));
    EXPECT_TRUE(EmptyBelowTitles(document_.ReadLabelTable()));
    EXPECT_EQ(document_.FileSize(), failure.Bytes);
    EXPECT_EQ(changes_, (std::vector{TDocumentChange::Read, TDocumentChange::ReadFailed}));
    // The kept path and layout still lead to the earlier file.
    ExpectOk(document_.ReadAgain());
    ExpectShows(view);
}

INSTANTIATE_TEST_SUITE_P(
    Files, FailedOpenTest,
    ::testing::Combine(
        ::testing::Values(kGpr, kGpr2),
        ::testing::Values(TFailedOpen{"Missing", std::nullopt, TReadStatus::OpenFailed,
                                      "Ошибка чтения данных", TMessageIcon::Information},
                          TFailedOpen{"ShorterThanAHeader", 100, TReadStatus::Refused, "",
                                      TMessageIcon::None})),
    [](const auto& info) {
        return LayoutName(std::get<0>(info.param)) + std::get<1>(info.param).Name;
    });

TEST_F(DocumentFixture, RequireReadRefusesUntilAReadCompletes) {
    const auto notLoaded = WriteFailureMessage(TWriteStatus::NotLoaded);
    ExpectMessage(document_.RequireRead(), notLoaded);
    EXPECT_FALSE(document_.Write(kStep).Ok());
    EXPECT_FALSE(document_.Open(folder_ / "missing.gpr", kGpr2).Ok());
    ExpectMessage(document_.RequireRead(), notLoaded);
    EXPECT_TRUE(document_.Path().empty());

    ExpectOk(document_.Open(Generate("a.gpr", Small(kGpr2)), kGpr2));

    ExpectOk(document_.RequireRead());
    EXPECT_EQ(changes_, (std::vector{TDocumentChange::ReadFailed, TDocumentChange::Read}));
}

TEST_F(DocumentFixture, RefillHeaderTableShowsTheChangedHeader) {
    ExpectOk(document_.Open(Generate("a.gpr", Small(kGpr2)), kGpr2));
    const TStringGrid readLabels = document_.ReadLabelTable();
    const std::string lengthBefore = document_.ProfileLengthText();
    TRadarHeader& header = document_.Model().Header();
    header.StepX = 2500;
    header.StartCoordinate = 9900000;

    document_.RefillHeaderTable();

    TStringGrid expected(static_cast<int>(THeaderTableColumn::Count), kHeaderTableRows);
    const std::string length = FillHeaderTable(expected, header);
    EXPECT_TRUE(SameCells(document_.HeaderTable(), expected));
    EXPECT_EQ(document_.HeaderTable().Cell(kValueCol, kStartPicketRow), "99");
    EXPECT_EQ(document_.HeaderTable().Cell(kValueCol, kStepRow), "250");
    EXPECT_EQ(document_.ProfileLengthText(), length);
    EXPECT_EQ(length, "100");
    EXPECT_NE(length, lengthBefore);
    EXPECT_TRUE(SameCells(document_.ReadLabelTable(), readLabels));
    EXPECT_EQ(changes_, (std::vector{TDocumentChange::Read, TDocumentChange::HeaderTable}));
}

TEST(DocumentObserverTest, AreCalledInSubscriptionOrderUntilUnsubscribed) {
    TRadargramDocument document;
    std::vector<int> calls;
    const auto observer = [&calls](int id) {
        return [&calls, id](TDocumentChange) { calls.push_back(id); };
    };
    document.Subscribe(observer(1));
    const int second = document.Subscribe(observer(2));
    document.Subscribe(observer(3));

    document.RefillHeaderTable();
    EXPECT_EQ(calls, (std::vector{1, 2, 3}));

    calls.clear();
    document.Unsubscribe(second);
    document.Subscribe(observer(4));
    document.RefillHeaderTable();
    EXPECT_EQ(calls, (std::vector{1, 3, 4}));
}

TEST(DocumentObserverTest, MayUnsubscribeItselfWhileItIsTold) {
    TRadargramDocument document;
    std::vector<int> calls;
    int self = -1;
    document.Subscribe([&](TDocumentChange) { calls.push_back(1); });
    self = document.Subscribe([&](TDocumentChange) {
        calls.push_back(2);
        document.Unsubscribe(self);
    });
    document.Subscribe([&](TDocumentChange) { calls.push_back(3); });

    document.RefillHeaderTable();
    document.RefillHeaderTable();

    EXPECT_EQ(calls, (std::vector{1, 2, 3, 1, 3}));
}

TEST(DocumentObserverTest, OneUnsubscribedByAnotherIsNotToldAnyMore) {
    TRadargramDocument document;
    std::vector<int> calls;
    int later = -1;
    document.Subscribe([&](TDocumentChange) {
        calls.push_back(1);
        document.Unsubscribe(later);
    });
    later = document.Subscribe([&](TDocumentChange) { calls.push_back(2); });

    document.RefillHeaderTable();

    EXPECT_EQ(calls, (std::vector{1}));
}

}  // namespace
}  // namespace trelvanox

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/cp1251.h"
#include "document/radargram_document.h"
#include "labels/label_edits.h"
#include "labels/read_label_table.h"
#include "model/text_field.h"
#include "model_snapshot.h"
#include "radargram_generator.h"
#include "temp_folder.h"

namespace trelvanox {
namespace {

constexpr std::uint32_t kTraces = 20;

// A label as the read-label table shows it: the oracle every edit is checked against.
struct TShown {
    std::optional<std::string> Text;
    std::uint32_t Color = 0;
    bool operator==(const TShown&) const = default;
};
using TLabels = std::map<std::uint32_t, TShown>;

TLabels Shown(const TRadargram& model) {
    TLabels labels;
    for (const TReadLabelRow& row : ReadLabelRows(model)) labels[row.Trace] = {row.Text, row.Color};
    return labels;
}

// Labels on traces 2, 6, 10, 14, 18; those on 6 and 14 without text; the file's own colours.
TGeneratorOptions Profile(TRadarLayout layout) {
    TGeneratorOptions o;
    o.TraceCount = kTraces;
    o.SampleCount = 8;
    o.Layout = layout;
    o.LabelEvery = 4;
    o.LabelFirst = 2;
    o.ShareWithoutText = 0.5;
    o.TrailingBytes = 3;
    return o;
}

struct TEditCase {
    std::string Name;
    std::function<std::optional<TLabelEdit>(const TRadargram&)> Make;
    // The labels the table must show afterwards, made from those it showed before.
    std::function<void(TLabels&)> Expect;
};

std::ostream& operator<<(std::ostream& os, const TEditCase& c) {
    return os << c.Name;
}

class LabelEditTest : public ::testing::TestWithParam<std::tuple<TEditCase, TRadarLayout>> {
  protected:
    void SetUp() override {
        path_ = folder_ / "profile.gpr";
        GenerateRadargram(path_, Profile(std::get<1>(GetParam())));
        ASSERT_TRUE(document_.Open(path_, std::get<1>(GetParam())).Ok());
    }

    test::TTempFolder folder_;
    std::filesystem::path path_;
    TRadargramDocument document_{folder_ / "state"};
};

// After a change and a fresh read: the labels are those expected, in the form a label
// write-back leaves them, and undo and redo give back the files byte for byte.
TEST_P(LabelEditTest, ReadsBackInWriteBackFormAndUndoesByteForByte) {
    const TEditCase& c = std::get<0>(GetParam());
    TLabels expected = Shown(document_.Model());
    ASSERT_FALSE(expected.at(6).Text) << "the fixture needs a label without text";
    c.Expect(expected);
    const auto before = test::ReadBytes(path_);

    const auto edit = c.Make(document_.Model());
    ASSERT_TRUE(edit);
    ASSERT_TRUE(document_.Change({edit->Description, edit->Apply}).Ok());
    ASSERT_TRUE(document_.ReadAgain().Ok());
    const auto after = test::ReadBytes(path_);

    const TRadargram& model = document_.Model();
    TLabels shown = Shown(model);
    // Every label now has a text record; one without text reads as the empty text.
    for (auto& [trace, label] : expected) label.Text = label.Text.value_or("");
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(model.Header().LabelCount, expected.size());
    EXPECT_EQ(model.LabelTotal(), expected.size());
    EXPECT_EQ(model.LabelsWithText(), expected.size());
    std::uint32_t k = 0;
    for (std::uint32_t t = 0; t < kTraces; ++t) {
        const std::uint32_t index = model.TraceHeaders()[t].LabelIndex;
        if (!expected.contains(t)) {
            EXPECT_EQ(index, 0u) << "trace " << t;
            continue;
        }
        EXPECT_EQ(index, k + 2) << "trace " << t;
        const TLabelRecord& record = model.LabelRecords()[k];
        EXPECT_EQ(record.LabelNumber, static_cast<std::int32_t>(k + 2));
        EXPECT_EQ(record.LabelColor, expected.at(t).Color);
        EXPECT_EQ(ReadTextField(record.LabelText), *expected.at(t).Text);
        ++k;
    }
    // One step, named by the edit.
    const auto history = document_.History();
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].Description, edit->Description);

    ASSERT_TRUE(document_.Undo().Ok());
    EXPECT_EQ(test::ReadBytes(path_), before);
    ASSERT_TRUE(document_.Redo().Ok());
    EXPECT_EQ(test::ReadBytes(path_), after);
}

std::vector<TEditCase> EditCases() {
    return {
        {"AddOnFirstTrace", [](auto& m) { return AddLabelEdit(m, 0, "Начало", 0xFF); },
         [](TLabels& l) {
             l[0] = {"Начало", 0xFF};
         }},
        {"AddOnLastTrace", [](auto& m) { return AddLabelEdit(m, kTraces - 1, "Конец", 0x8000); },
         [](TLabels& l) {
             l[kTraces - 1] = {"Конец", 0x8000};
         }},
        {"AddBesideALabel", [](auto& m) { return AddLabelEdit(m, 11, "Мост", 0xFF0000); },
         [](TLabels& l) {
             l[11] = {"Мост", 0xFF0000};
         }},
        {"AddWithoutText", [](auto& m) { return AddLabelEdit(m, 7, "", 0); },
         [](TLabels& l) {
             l[7] = {"", 0};
         }},
        {"AddLongestText", [](auto& m) { return AddLabelEdit(m, 4, std::string(39, 'x'), 1); },
         [](TLabels& l) {
             l[4] = {std::string(39, 'x'), 1};
         }},
        {"MoveToFirstTrace", [](auto& m) { return MoveLabelEdit(m, 10, 0); },
         [](TLabels& l) {
             l[0] = l.at(10);
             l.erase(10);
         }},
        {"MoveToLastTraceOverOthers", [](auto& m) { return MoveLabelEdit(m, 2, kTraces - 1); },
         [](TLabels& l) {
             l[kTraces - 1] = l.at(2);
             l.erase(2);
         }},
        {"MoveToNeighbour", [](auto& m) { return MoveLabelEdit(m, 14, 15); },
         [](TLabels& l) {
             l[15] = l.at(14);
             l.erase(14);
         }},
        {"MoveLabelWithoutText", [](auto& m) { return MoveLabelEdit(m, 6, 3); },
         [](TLabels& l) {
             l[3] = l.at(6);
             l.erase(6);
         }},
        {"DeleteFirstLabel", [](auto& m) { return DeleteLabelEdit(m, 2); },
         [](TLabels& l) { l.erase(2); }},
        {"DeleteLastLabel", [](auto& m) { return DeleteLabelEdit(m, 18); },
         [](TLabels& l) { l.erase(18); }},
        {"DeleteLabelWithoutText", [](auto& m) { return DeleteLabelEdit(m, 6); },
         [](TLabels& l) { l.erase(6); }},
        {"SetText", [](auto& m) { return SetLabelEdit(m, 10, "ПК12+50", std::nullopt); },
         [](TLabels& l) { l.at(10).Text = "ПК12+50"; }},
        {"SetColour", [](auto& m) { return SetLabelEdit(m, 18, std::nullopt, 0x123456u); },
         [](TLabels& l) { l.at(18).Color = 0x123456; }},
        {"SetBothOnLabelWithoutText", [](auto& m) { return SetLabelEdit(m, 6, "Стрелка", 65280u); },
         [](TLabels& l) {
             l.at(6) = {"Стрелка", 65280};
         }},
        {"EmptyAText", [](auto& m) { return SetLabelEdit(m, 2, "", std::nullopt); },
         [](TLabels& l) { l.at(2).Text = ""; }},
    };
}

INSTANTIATE_TEST_SUITE_P(Edits, LabelEditTest,
                         ::testing::Combine(::testing::ValuesIn(EditCases()),
                                            ::testing::Values(TRadarLayout::Gpr,
                                                              TRadarLayout::Gpr2)),
                         [](const auto& info) {
                             return std::get<0>(info.param).Name +
                                    (std::get<1>(info.param) == TRadarLayout::Gpr ? "Gpr" : "Gpr2");
                         });

// A model as a read leaves it, for the edits that must refuse or change nothing.
class LabelEditModelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto path = folder_ / "profile.gpr";
        GenerateRadargram(path, Profile(TRadarLayout::Gpr2));
        ASSERT_TRUE(document_.Open(path, TRadarLayout::Gpr2).Ok());
    }
    test::TTempFolder folder_;
    TRadargramDocument document_{folder_ / "state"};
};

struct TRefusalCase {
    std::string Name;
    std::function<std::optional<TLabelEdit>(const TRadargram&)> Make;
    std::string MessagePart;
};

class LabelEditRefusalTest : public LabelEditModelTest,
                             public ::testing::WithParamInterface<TRefusalCase> {};

TEST_P(LabelEditRefusalTest, RefusesWithAMessageAndChangesNothing) {
    const auto before = test::Snapshot(document_.Model());
    try {
        GetParam().Make(document_.Model());
        FAIL() << "no refusal";
    } catch (const TLabelEditError& error) {
        EXPECT_NE(std::string(error.what()).find(GetParam().MessagePart), std::string::npos)
            << error.what();
    }
    EXPECT_EQ(test::Snapshot(document_.Model()), before);
    EXPECT_TRUE(document_.History().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, LabelEditRefusalTest,
    ::testing::Values(
        TRefusalCase{"AddBeyondLastTrace", [](auto& m) { return AddLabelEdit(m, kTraces, "x", 0); },
                     "от 0 до 19"},
        TRefusalCase{"AddOnALabel", [](auto& m) { return AddLabelEdit(m, 6, "x", 0); },
                     "уже есть метка"},
        TRefusalCase{"AddTooLongText",
                     [](auto& m) { return AddLabelEdit(m, 1, std::string(40, 'x'), 0); },
                     "длиннее 39"},
        TRefusalCase{"AddTextOutsideTheCodePage",
                     [](auto& m) { return AddLabelEdit(m, 1, "Ω", 0); }, "Windows-1251"},
        TRefusalCase{"MoveOntoALabel", [](auto& m) { return MoveLabelEdit(m, 2, 6); },
                     "уже есть метка"},
        TRefusalCase{"MoveWhereNoLabelIs", [](auto& m) { return MoveLabelEdit(m, 3, 4); },
                     "нет метки"},
        TRefusalCase{"MoveBeyondLastTrace", [](auto& m) { return MoveLabelEdit(m, 2, 900); },
                     "Трассы 900 нет"},
        TRefusalCase{"DeleteWhereNoLabelIs", [](auto& m) { return DeleteLabelEdit(m, 0); },
                     "нет метки"},
        TRefusalCase{"SetWhereNoLabelIs",
                     [](auto& m) { return SetLabelEdit(m, 1, "x", std::nullopt); }, "нет метки"},
        TRefusalCase{"SetTooLongText",
                     [](auto& m) { return SetLabelEdit(m, 2, std::string(45, 'y'), 1u); },
                     "длиннее 39"}),
    [](const auto& info) { return info.param.Name; });

TEST_F(LabelEditModelTest, AnEditThatChangesNothingGivesNoStep) {
    const TRadargram& model = document_.Model();
    const TLabels shown = Shown(model);
    EXPECT_FALSE(MoveLabelEdit(model, 10, 10));
    EXPECT_FALSE(SetLabelEdit(model, 10, std::nullopt, std::nullopt));
    EXPECT_FALSE(SetLabelEdit(model, 10, *shown.at(10).Text, shown.at(10).Color));
}

TEST(LabelEditWithoutFileTest, RefusesBeforeARead) {
    TRadargram model;
    EXPECT_THROW(AddLabelEdit(model, 0, "x", 0), TLabelEditError);
    EXPECT_THROW(DeleteLabelEdit(model, 0), TLabelEditError);
}

// A file whose labels were never renumbered: labels without text between labels with text,
// whose colours the table takes by position. The edit keeps what the table showed.
TEST(LabelEditFormTest, KeepsWhatTheTableShowsInAFileNeverRenumbered) {
    TRadargramContents c;
    c.Header.TraceCount = 6;
    c.Header.LabelCount = 3;
    const std::vector<std::uint32_t> indices = {3, 1, 0, 2, 0, 4};
    for (const std::uint32_t index : indices) {
        TTraceHeader header{};
        header.LabelIndex = index;
        c.TraceHeaders.push_back(header);
    }
    c.LabelRecords.resize(6, TLabelRecord{});
    const char* texts[] = {"ноль", "один", "два"};
    for (int k = 0; k < 3; ++k) {
        WriteTextField(c.LabelRecords[k].LabelText, texts[k]);
        c.LabelRecords[k].LabelColor = 100u + static_cast<std::uint32_t>(k);
    }
    c.LabelTotal = 4;
    c.LabelsWithText = 3;
    c.LabelsWithoutText = 1;
    TRadargram model;
    model.Replace(std::move(c), "profile.gpr2");

    TLabels expected = Shown(model);
    const auto edit = DeleteLabelEdit(model, 3);
    ASSERT_TRUE(edit);
    edit->Apply(model);
    expected.erase(3);
    for (auto& [trace, label] : expected) label.Text = label.Text.value_or("");
    EXPECT_EQ(Shown(model), expected);
    EXPECT_EQ(model.Header().LabelCount, 3u);
    EXPECT_EQ(model.LabelTotal(), 3u);
}

}  // namespace
}  // namespace trelvanox

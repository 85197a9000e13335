#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "common/conversion.h"
#include "labels/label_insertion.h"
#include "labels/label_resets.h"
#include "model/text_field.h"
#include "model_snapshot.h"

namespace trelvanox {
namespace {

using TBytes = std::vector<std::uint8_t>;

// A model as a read leaves it: traces with the given label indices (coordinates 1000, 2000, ...),
// one record slot per trace of which the first `records` hold texts, and bytes in every
// reserved place and behind every text's NUL.
void Load(TRadargram& model, const std::vector<std::uint32_t>& labelIndices, std::size_t records) {
    TRadargramContents c;
    c.Header.TraceCount = static_cast<std::uint32_t>(labelIndices.size());
    c.Header.LabelCount = static_cast<std::uint32_t>(records);
    for (std::size_t t = 0; t < labelIndices.size(); ++t) {
        TTraceHeader header;
        std::memset(&header, static_cast<int>(0xA0 + t), sizeof header);
        header.Coordinate = static_cast<std::int32_t>(1000 * (t + 1));
        header.LabelIndex = labelIndices[t];
        c.TraceHeaders.push_back(header);
        if (labelIndices[t] != 0) ++c.LabelTotal;
        if (labelIndices[t] == 1) ++c.LabelsWithoutText;
        if (labelIndices[t] > 1) ++c.LabelsWithText;
    }
    c.LabelRecords.resize(labelIndices.size(), TLabelRecord{});
    for (std::size_t k = 0; k < c.LabelRecords.size(); ++k) {
        TLabelRecord& record = c.LabelRecords[k];
        if (k >= records) continue;
        std::memset(record.LabelText, static_cast<int>('a' + k), kTextFieldSize);
        WriteTextField(record.LabelText, "Метка " + std::to_string(k));
        record.LabelNumber = static_cast<std::int32_t>(k + 2);
        record.LabelColor = 0x00FF0000;
    }
    model.Replace(std::move(c), "profile.GPR2");
}

using test::Snapshot;

std::vector<std::uint32_t> LabelIndices(const TRadargram& model) {
    std::vector<std::uint32_t> indices;
    for (const TTraceHeader& t : model.TraceHeaders()) indices.push_back(t.LabelIndex);
    return indices;
}

TEST(ResetTracePositionsTest, ZeroesEveryCoordinateAndNothingElse) {
    TRadargram model;
    Load(model, {0, 2, 1, 0}, 1);
    TRadargram expected;
    Load(expected, {0, 2, 1, 0}, 1);
    for (TTraceHeader& t : expected.TraceHeaders()) t.Coordinate = 0;

    ResetTracePositions(model);

    EXPECT_EQ(Snapshot(model), Snapshot(expected));
}

TEST(ResetLabelNamesTest, EmptiesTheTextsAndKeepsTheLabels) {
    TRadargram model;
    // Three labels with text and one without; the fifth slot holds a record past LabelTotal.
    Load(model, {2, 3, 0, 4, 1}, 5);
    TRadargram expected;
    Load(expected, {2, 3, 0, 4, 1}, 5);
    for (std::size_t k = 0; k < 4; ++k) {
        expected.LabelRecords()[k].LabelText[0] = '\0';
        expected.LabelRecords()[k].LabelNumber = 1;
    }

    ResetLabelNames(model);

    EXPECT_EQ(Snapshot(model), Snapshot(expected));
    EXPECT_EQ(LabelIndices(model), (std::vector<std::uint32_t>{2, 3, 0, 4, 1}));
    EXPECT_EQ(ReadTextField(model.LabelRecords()[4].LabelText), "Метка 4");
}

TEST(LabelCommandsWithoutFileTest, LeaveAModelWithoutHeaderAlone) {
    TRadargram model;
    TInsertLabelRequest request;
    request.First = request.Last = request.Pointed = true;
    request.TraceText = "abc";

    ResetTracePositions(model);
    ResetLabelNames(model);
    InsertLabels(model, request);

    EXPECT_FALSE(model.HasHeader());
    EXPECT_TRUE(model.TraceHeaders().empty());
}

TInsertLabelRequest Request(bool first, bool last, std::optional<std::string> pointed) {
    TInsertLabelRequest request;
    request.First = first;
    request.Last = last;
    request.Pointed = pointed.has_value();
    if (pointed) request.TraceText = *pointed;
    return request;
}

// The insertion on five traces, of which traces 1 and 3 carry labels with text.
struct TInsertCase {
    const char* Name;
    TInsertLabelRequest Request;
    std::vector<std::uint32_t> Expected;
};

void PrintTo(const TInsertCase& c, std::ostream* os) {
    *os << c.Name;
}

class InsertLabelsTest : public ::testing::TestWithParam<TInsertCase> {};

TEST_P(InsertLabelsTest, PutsLabelsWithoutTextOnTheTracesAskedFor) {
    TRadargram model;
    Load(model, {0, 2, 0, 3, 0}, 2);
    TRadargram expected;
    Load(expected, GetParam().Expected, 2);

    InsertLabels(model, GetParam().Request);

    EXPECT_EQ(LabelIndices(model), GetParam().Expected);
    EXPECT_EQ(Snapshot(model), Snapshot(expected));  // nothing but the label indices changed
}

INSTANTIATE_TEST_SUITE_P(
    Requests, InsertLabelsTest,
    ::testing::Values(
        TInsertCase{"None", Request(false, false, std::nullopt), {0, 2, 0, 3, 0}},
        TInsertCase{"First", Request(true, false, std::nullopt), {1, 2, 0, 3, 0}},
        TInsertCase{"Last", Request(false, true, std::nullopt), {0, 2, 0, 3, 1}},
        TInsertCase{"PointedOverALabelWithText", Request(false, false, "3"), {0, 2, 0, 1, 0}},
        TInsertCase{"AllThreeWithTraceZero", Request(true, true, "0"), {1, 2, 0, 3, 1}},
        TInsertCase{"PointedLastTrace", Request(false, false, "+4"), {0, 2, 0, 3, 1}},
        TInsertCase{"NumberIgnoredUnlessPointed",
                    [] {
                        TInsertLabelRequest r = Request(true, false, std::nullopt);
                        r.TraceText = "abc";
                        return r;
                    }(),
                    {1, 2, 0, 3, 0}}),
    [](const auto& info) { return info.param.Name; });

// A request that cannot be met in full changes no trace at all.
enum class TErrorKind { Conversion, TraceNumber };

struct TInsertRefusalCase {
    const char* Name;
    std::size_t Traces;
    TInsertLabelRequest Request;
    TErrorKind Kind;
    std::string Message;
};

void PrintTo(const TInsertRefusalCase& c, std::ostream* os) {
    *os << c.Name;
}

class InsertLabelsRefusalTest : public ::testing::TestWithParam<TInsertRefusalCase> {};

TEST_P(InsertLabelsRefusalTest, ThrowsAndSetsNoLabel) {
    TRadargram model;
    Load(model, std::vector<std::uint32_t>(GetParam().Traces, 0), 0);
    const TBytes before = Snapshot(model);

    std::optional<TErrorKind> kind;
    std::string message;
    try {
        InsertLabels(model, GetParam().Request);
    } catch (const TConversionError& e) {
        kind = TErrorKind::Conversion;
        message = e.what();
    } catch (const TTraceNumberError& e) {
        kind = TErrorKind::TraceNumber;
        message = e.what();
    }

    EXPECT_EQ(kind, GetParam().Kind);
    EXPECT_EQ(message, GetParam().Message);
    EXPECT_EQ(Snapshot(model), before);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, InsertLabelsRefusalTest,
    ::testing::Values(
        TInsertRefusalCase{"NotANumber", 5, Request(true, true, "abc"), TErrorKind::Conversion,
                           "'abc' is not a valid integer value"},
        TInsertRefusalCase{"EmptyNumber", 5, Request(false, false, ""), TErrorKind::Conversion,
                           "'' is not a valid integer value"},
        TInsertRefusalCase{"PastTheLastTrace", 5, Request(true, true, "5"), TErrorKind::TraceNumber,
                           "Номер трассы должен быть от 0 до 4."},
        TInsertRefusalCase{"Negative", 2000, Request(true, false, "-1"), TErrorKind::TraceNumber,
                           "Номер трассы должен быть от 0 до 1999."},
        TInsertRefusalCase{"LastWithoutTraces", 0, Request(false, true, std::nullopt),
                           TErrorKind::TraceNumber,
                           "В радарограмме нет трасс: метку вставить некуда."},
        TInsertRefusalCase{"FirstWithoutTraces", 0, Request(true, false, std::nullopt),
                           TErrorKind::TraceNumber,
                           "В радарограмме нет трасс: метку вставить некуда."},
        TInsertRefusalCase{"PointedWithoutTraces", 0, Request(false, false, "0"),
                           TErrorKind::TraceNumber,
                           "В радарограмме нет трасс: метку вставить некуда."}),
    [](const auto& info) { return info.param.Name; });

}  // namespace
}  // namespace trelvanox

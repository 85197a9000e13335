#include <gtest/gtest.h>

#include "model/radar_layout.h"

namespace trelvanox {
namespace {

struct TGeometryCase {
    const char* Name;
    TRadarLayout Layout;
    std::uint32_t Traces, Samples, Labels;
    std::uint64_t Trace2, LabelStart, Required;
};

class GeometryTest : public ::testing::TestWithParam<TGeometryCase> {};

TEST_P(GeometryTest, PlacesTracesAndLabelsWhereTheLayoutSays) {
    const TGeometryCase& c = GetParam();
    const TLayoutGeometry g = ComputeGeometry(c.Traces, c.Samples, c.Layout);
    EXPECT_EQ(g.TraceOffset(2), c.Trace2);
    EXPECT_EQ(g.LabelStart, c.LabelStart);
    EXPECT_EQ(RequiredFileSize(c.Traces, c.Samples, c.Labels, c.Layout), c.Required);
}

INSTANTIATE_TEST_SUITE_P(
    Files, GeometryTest,
    ::testing::Values(
        // 1536 + 4S + t(36 + 4S), labels right after the traces
        TGeometryCase{"Gpr", TRadarLayout::Gpr, 10, 512, 3, 1536 + 2048 + 2 * 2084,
                      1536 + 2048 + 10 * 2084, 1536 + 2048 + 10 * 2084 + 3 * 48},
        // 44 + 4S per trace and a 4-byte tail before the labels
        TGeometryCase{"Gpr2", TRadarLayout::Gpr2, 10, 512, 3, 1536 + 2048 + 2 * 2092,
                      1536 + 2048 + 10 * 2092 + 4, 1536 + 2048 + 10 * 2092 + 4 + 3 * 48},
        // Without labels a file may end after the last samples: the gaps are only passed over.
        TGeometryCase{"Gpr2NoLabels", TRadarLayout::Gpr2, 10, 512, 0, 1536 + 2048 + 2 * 2092,
                      1536 + 2048 + 10 * 2092 + 4, 1536 + 2048 + 9 * 2092 + 2084},
        TGeometryCase{"Gpr2NoSamples", TRadarLayout::Gpr2, 3, 0, 0, 1536 + 2 * 44,
                      1536 + 3 * 44 + 4, 1536 + 2 * 44 + 36},
        TGeometryCase{"NoTraces", TRadarLayout::Gpr2, 0, 7, 0, 1564 + 2 * 72, 1564 + 4, 1564},
        // The largest counts the model holds stay exact in 64 bits.
        TGeometryCase{"Maximal", TRadarLayout::Gpr2, 200000, 512, 200000, 1536 + 2048 + 2 * 2092,
                      1536 + 2048 + 200000ull * 2092 + 4,
                      1536 + 2048 + 200000ull * 2092 + 4 + 200000ull * 48}),
    [](const auto& info) { return info.param.Name; });

TEST(LayoutChoiceTest, OnlyZeroMeansGpr) {
    EXPECT_EQ(LayoutFromFormatIndex(0), TRadarLayout::Gpr);
    for (const std::int32_t index : {1, -1, 5, 2147483647})
        EXPECT_EQ(LayoutFromFormatIndex(index), TRadarLayout::Gpr2) << index;
}

}  // namespace
}  // namespace trelvanox

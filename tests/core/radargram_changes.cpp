#include "radargram_changes.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "model/radargram_io.h"

namespace trelvanox::test {

namespace {

const std::filesystem::path kSource = "/survey/profile.gpr";

TGeneratorOptions Survey(TRadarLayout layout, std::uint32_t traces, std::uint32_t samples) {
    TGeneratorOptions options;
    options.TraceCount = traces;
    options.SampleCount = samples;
    options.Layout = layout;
    options.LabelEvery = 7;
    options.TrailingBytes = 3;
    return options;
}

}  // namespace

std::vector<TRadargramChange> RadargramChanges() {
    constexpr auto kGpr = TRadarLayout::Gpr;
    constexpr auto kGpr2 = TRadarLayout::Gpr2;
    return {
        {"Header", Survey(kGpr2, 300, 128),
         [](TRadargram& m) {
             m.Header().Permittivity = 4.25f;
             m.Header().StartCoordinate = 777;
         },
         kGpr2, false},
        {"ScatteredTraces", Survey(kGpr2, 300, 128),
         [](TRadargram& m) {
             for (const std::uint32_t t : {3u, 150u, 299u}) std::ranges::fill(m.Samples(t), 0.0f);
         },
         kGpr2, false},
        {"EveryCoordinate", Survey(kGpr, 16, 64),
         [](TRadargram& m) {
             for (TTraceHeader& trace : m.TraceHeaders()) trace.Coordinate = 0;
         },
         kGpr, false},
        {"GprToGpr2", Survey(kGpr, 300, 128), [](TRadargram&) {}, kGpr2, false},
        {"Packed", Survey(kGpr2, 300, 128), [](TRadargram&) {}, kGpr2, true},
        // More than the journal's write buffer changes, so the journal is written in pieces.
        {"LargePacked", Survey(kGpr2, 1500, 512), [](TRadargram&) {}, kGpr2, true},
    };
}

TChangeWriter ChangeWriter(TRadargram& model, TRadarFile& file, const TRadargramChange& change) {
    const TReadResult read = ReadRadargramFrom(model, file, change.Options.Layout, kSource);
    EXPECT_EQ(read.Code, 0) << change.Name;
    change.Edit(model);
    return [&model, &change](TRadarFile& stand) {
        return WriteRadargramTo(model, stand, change.WriteLayout, change.Packed).Code == 0;
    };
}

TBytes BytesAfter(const TBytes& before, const TRadargramChange& change) {
    TMemoryRadarFile file(before);
    TRadargram model;
    const TChangeWriter write = ChangeWriter(model, file, change);
    EXPECT_TRUE(write(file)) << change.Name;
    return file.Bytes;
}

TJournalInfo ChangeLabel(const TRadargramChange& change) {
    TJournalInfo label;
    label.Description = "Изменение «" + change.Name + "»";
    label.LayoutBefore = change.Options.Layout;
    label.LayoutAfter = change.WriteLayout;
    return label;
}

std::string ChangeName(const TRadargramChange& change) {
    return change.Name;
}

void PrintTo(const TRadargramChange& change, std::ostream* os) {
    *os << change.Name;
}

}  // namespace trelvanox::test

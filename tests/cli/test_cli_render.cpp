#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "cli_run.h"
#include "model/radargram_io.h"
#include "radargram_generator.h"
#include "temp_folder.h"

namespace trelvanox {
namespace {

using TRun = test::TCliRun;

// A picture read back from a PNG file, as three bytes a pixel.
struct TPicture {
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Pixels;

    std::vector<int> At(int x, int y) const {
        const auto* p = &Pixels[(static_cast<std::size_t>(y) * Width + x) * 3];
        return {p[0], p[1], p[2]};
    }
};

TPicture ReadPng(const std::string& path) {
    const std::vector<std::uint8_t> bytes = test::ReadBytes(path);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    TPicture picture;
    if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return picture;
    image.format = PNG_FORMAT_RGB;
    picture.Pixels.resize(PNG_IMAGE_SIZE(image));
    if (png_image_finish_read(&image, nullptr, picture.Pixels.data(), 0, nullptr)) {
        picture.Width = static_cast<int>(image.width);
        picture.Height = static_cast<int>(image.height);
    }
    png_image_free(&image);
    return picture;
}

const std::vector<int> kZeroGrey{128, 128, 128};
const std::vector<int> kWhite{255, 255, 255};

// 40 traces of 16 samples, all zero but one spike at trace 13, sample 5; labels on traces 0,
// 10, 20 and 30.
class CliRenderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TGeneratorOptions options;
        options.TraceCount = 40;
        options.SampleCount = 16;
        options.LabelEvery = 10;
        test::WriteBytes(path_, GenerateRadargramBytes(options));
        ASSERT_EQ(ReadRadargram(model_, path_, TRadarLayout::Gpr2).Code, 0);
        for (std::uint32_t t = 0; t < 40; ++t) std::ranges::fill(model_.Samples(t), 0.0f);
        model_.Samples(13)[5] = 10.0f;
        ASSERT_EQ(WriteRadargram(model_, path_, TRadarLayout::Gpr2).Code, 0);
    }

    TRun Run(std::vector<std::string> args) {
        for (std::string& a : args) {
            if (a == "FILE") a = path_;
            if (a == "OUT") a = out_;
        }
        return test::RunTool(args);
    }

    test::TTempFolder folder_;
    std::string path_ = (folder_ / "profile.GPR2").string();
    std::string out_ = (folder_ / "profile.png").string();
    TRadargram model_;
};

struct TPictureCase {
    const char* Name;
    std::vector<std::string> Options;
    int Width, Height;
    int X, Y;  // the spike's pixel
    std::vector<int> Spike, Zero;
};

class CliRenderPictureTest : public CliRenderTest,
                             public ::testing::WithParamInterface<TPictureCase> {};

TEST_P(CliRenderPictureTest, DrawsTheSpikeWhereItLies) {
    const TPictureCase& c = GetParam();
    std::vector<std::string> args{"render", "FILE", "OUT", "--no-labels"};
    args.insert(args.end(), c.Options.begin(), c.Options.end());
    const TRun run = Run(args);
    ASSERT_EQ(run.Code, 0) << run.Err;

    const TPicture picture = ReadPng(out_);
    ASSERT_EQ(picture.Width, c.Width);
    ASSERT_EQ(picture.Height, c.Height);
    EXPECT_EQ(picture.At(c.X, c.Y), c.Spike);
    EXPECT_EQ(picture.At(0, 0), c.Zero);
    EXPECT_EQ(picture.At(c.Width - 1, c.Height - 1), c.Zero);
}

INSTANTIATE_TEST_SUITE_P(
    Options, CliRenderPictureTest,
    testing::Values(
        // 40 pixels a trace, 56.25 rows a sample: marked at 13.5 x 40 and 5.5 x 56.25
        TPictureCase{"DefaultSize", {}, 1600, 900, 540, 309, kWhite, kZeroGrey},
        TPictureCase{"OnePixelPerSample",
                     {"--width", "40", "--height", "16"},
                     40,
                     16,
                     13,
                     5,
                     kWhite,
                     kZeroGrey},
        // traces 10..19 over 20 pixels: trace 13 is marked at (13.5 - 10) x 2 = 7; samples
        // 4..7 over 8 rows: sample 5 at (5.5 - 4) x 2 = 3
        TPictureCase{
            "Zoomed",
            {"--width", "20", "--height", "8", "--traces", "10", "19", "--samples", "4", "7"},
            20,
            8,
            7,
            3,
            kWhite,
            kZeroGrey},
        TPictureCase{"Diverging",
                     {"--width", "40", "--height", "16", "--palette", "diverging"},
                     40,
                     16,
                     13,
                     5,
                     {255, 0, 0},
                     {255, 255, 255}},
        // negative gain turns the spike to the bottom of the table
        TPictureCase{"NegativeGain",
                     {"--width", "40", "--height", "16", "--gain", "-1", "--clip", "100"},
                     40,
                     16,
                     13,
                     5,
                     {0, 0, 0},
                     kZeroGrey}),
    [](const testing::TestParamInfo<TPictureCase>& info) { return info.param.Name; });

TEST_F(CliRenderTest, LabelsAreLinesInTheirStoredColours) {
    const TRun run = Run({"render", "FILE", "OUT", "--width", "40", "--height", "16"});
    ASSERT_EQ(run.Code, 0) << run.Err;
    const TPicture picture = ReadPng(out_);
    for (int row = 1; row <= 4; ++row) {
        const std::uint32_t colour = model_.LabelRecords()[row - 1].LabelColor;
        const std::vector<int> expected{static_cast<int>(colour & 0xff),
                                        static_cast<int>((colour >> 8) & 0xff),
                                        static_cast<int>((colour >> 16) & 0xff)};
        for (int y : {0, 7, 15}) EXPECT_EQ(picture.At((row - 1) * 10, y), expected) << row;
    }
    EXPECT_EQ(picture.At(13, 5), kWhite);
}

struct TRefusalCase {
    const char* Name;
    std::vector<std::string> Args;
    int Code;
};

class CliRenderRefusalTest : public CliRenderTest,
                             public ::testing::WithParamInterface<TRefusalCase> {};

// Nothing is written when the command line or the file does not allow the picture.
TEST_P(CliRenderRefusalTest, RefusesAndWritesNothing) {
    const TRun run = Run(GetParam().Args);
    EXPECT_EQ(run.Code, GetParam().Code);
    EXPECT_FALSE(run.Err.empty());
    EXPECT_FALSE(std::filesystem::exists(out_));
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, CliRenderRefusalTest,
    testing::Values(
        TRefusalCase{"UnknownPalette", {"render", "FILE", "OUT", "--palette", "jet"}, 2},
        TRefusalCase{"ZeroWidth", {"render", "FILE", "OUT", "--width", "0"}, 2},
        TRefusalCase{"HugeHeight", {"render", "FILE", "OUT", "--height", "100000"}, 2},
        TRefusalCase{"WidthNotANumber", {"render", "FILE", "OUT", "--width", "12px"}, 2},
        TRefusalCase{"ClipZero", {"render", "FILE", "OUT", "--clip", "0"}, 2},
        TRefusalCase{"GainNotANumber", {"render", "FILE", "OUT", "--gain", "x"}, 2},
        TRefusalCase{"TracesBeyondTheFile", {"render", "FILE", "OUT", "--traces", "5", "40"}, 1},
        TRefusalCase{"TracesBackwards", {"render", "FILE", "OUT", "--traces", "9", "5"}, 2},
        TRefusalCase{"SamplesBeyondTheFile", {"render", "FILE", "OUT", "--samples", "0", "16"}, 1},
        TRefusalCase{"NoSuchFile", {"render", "FILE.missing", "OUT"}, 1},
        TRefusalCase{"MissingOutput", {"render", "FILE"}, 2}),
    [](const testing::TestParamInfo<TRefusalCase>& info) { return info.param.Name; });

// The picture never replaces the radargram it shows (named directly or through a link), nor
// anything that is not a regular file.
TEST_F(CliRenderTest, RefusesTheRadargramItselfAndWhatIsNotAFile) {
    const std::vector<std::uint8_t> radargram = test::ReadBytes(path_);
    const std::string link = (folder_ / "link.png").string();
    std::filesystem::create_symlink(path_, link);
    const std::string folder = (folder_ / "folder.png").string();
    std::filesystem::create_directory(folder);
    for (const std::string& target : {path_, link, folder}) {
        const TRun run = Run({"render", "FILE", target, "--width", "8"});
        EXPECT_EQ(run.Code, 1) << target;
        EXPECT_NE(run.Err.find(target), std::string::npos) << run.Err;
    }
    EXPECT_EQ(test::ReadBytes(path_), radargram);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST_F(CliRenderTest, OutputIntoAMissingFolderFails) {
    const TRun run =
        Run({"render", "FILE", (folder_ / "no" / "such" / "p.png").string(), "--width", "8"});
    EXPECT_EQ(run.Code, 1);
    EXPECT_NE(run.Err.find("p.png"), std::string::npos) << run.Err;
}

}  // namespace
}  // namespace trelvanox

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "document/radargram_document.h"
#include "radar_image.h"
#include "radargram_generator.h"
#include "temp_folder.h"

namespace trelvanox {
namespace {

namespace fs = std::filesystem;
using test::TBytes;

// What another program does to the file between the document's read and its write.
struct TOutsideEdit {
    std::string Name;
    std::function<void(const fs::path&)> Edit;
    std::string Reason;  // the part of the refusal that names what changed
};

void PrintTo(const TOutsideEdit& edit, std::ostream* os) {
    *os << edit.Name;
}

class ChangedOnDiskTest : public ::testing::TestWithParam<TOutsideEdit> {
  protected:
    test::TTempFolder folder_;
    const fs::path path_ = folder_ / "profile.GPR2";
    TRadargramDocument document_{folder_ / "state"};
};

TEST_P(ChangedOnDiskTest, AWriteAfterAnotherProgramsEditIsRefusedAndTouchesNothing) {
    TGeneratorOptions options;
    options.TraceCount = 30;
    options.SampleCount = 16;
    GenerateRadargram(path_, options);
    ASSERT_TRUE(document_.Open(path_, TRadarLayout::Gpr2).Ok());
    document_.Model().Header().Permittivity = 2.5f;

    GetParam().Edit(path_);
    const TBytes edited = test::ReadBytes(path_);
    const TDocumentResult result = document_.Write("Редактирование заголовка");

    EXPECT_TRUE(result.ChangedOnDisk);
    ASSERT_TRUE(result.Message);
    EXPECT_EQ(result.Message->Text.find("Файл изменён другой программой после чтения"), 0u)
        << result.Message->Text;
    EXPECT_NE(result.Message->Text.find(GetParam().Reason), std::string::npos)
        << result.Message->Text;
    EXPECT_EQ(test::ReadBytes(path_), edited);
    EXPECT_TRUE(document_.History().empty());
    // Reading it again is the way on.
    ASSERT_TRUE(document_.ReadAgain().Ok());
    document_.Model().Header().Permittivity = 2.5f;
    EXPECT_TRUE(document_.Write("Редактирование заголовка").Ok());
}

INSTANTIATE_TEST_SUITE_P(
    Edits, ChangedOnDiskTest,
    ::testing::Values(TOutsideEdit{"Grown",
                                   [](const fs::path& path) {
                                       fs::resize_file(path, fs::file_size(path) + 100);
                                   },
                                   "изменился размер файла"},
                      TOutsideEdit{"SameSizeNewerTime",
                                   [](const fs::path& path) {
                                       TBytes bytes = test::ReadBytes(path);
                                       bytes[500] ^= 0x44;
                                       const auto time = fs::last_write_time(path);
                                       test::WriteBytes(path, bytes);
                                       fs::last_write_time(path, time + std::chrono::seconds(2));
                                   },
                                   "изменено время изменения файла"},
                      TOutsideEdit{"AnotherFileSavedOver",
                                   [](const fs::path& path) {
                                       TGeneratorOptions other;
                                       other.TraceCount = 30;
                                       other.SampleCount = 16;
                                       other.Seed = 9;
                                       const fs::path fresh = path.string() + ".new";
                                       GenerateRadargram(fresh, other);
                                       fs::rename(fresh, path);
                                   },
                                   "по этому пути теперь другой файл"}),
    [](const auto& info) { return info.param.Name; });

}  // namespace
}  // namespace trelvanox

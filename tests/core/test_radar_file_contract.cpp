// One contract for every radargram file: the system's (POSIX here, Windows in the cross build run
// under Wine), the one in memory and the faulty double with no fault planned. The document, the
// journal and the history rely on exactly these promises, whichever file they are given.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "faulty_radar_file.h"
#include "memory_radar_file.h"
#include "model/radar_file.h"
#include "model/radar_file_lock.h"
#include "temp_folder.h"

namespace trelvanox {
namespace {

using TBytes = std::vector<std::uint8_t>;

struct TSystemFiles {
    test::TTempFolder Folder;
    std::unique_ptr<TRadarFile> Make(const TBytes& bytes) {
        const auto path = Folder / ("file" + std::to_string(++count) + ".GPR2");
        test::WriteBytes(path, bytes);
        return OpenRadarFile(path);
    }
    int count = 0;
};

struct TMemoryFiles {
    std::unique_ptr<TRadarFile> Make(const TBytes& bytes) {
        return std::make_unique<test::TMemoryRadarFile>(bytes);
    }
};

struct TFaultyFiles {
    std::unique_ptr<TRadarFile> Make(const TBytes& bytes) {
        return std::make_unique<test::TFaultyRadarFile>(
            std::make_unique<test::TMemoryRadarFile>(bytes), std::make_shared<test::TFaultPlan>(),
            "file");
    }
};

TBytes Read(TRadarFile& file, std::uint64_t offset, std::size_t length, bool* ok = nullptr) {
    TBytes bytes(length);
    std::span<std::byte> slice = std::as_writable_bytes(std::span(bytes));
    const bool read = file.ReadAt(offset, std::span(&slice, 1));
    if (ok) *ok = read;
    return bytes;
}

bool Write(TRadarFile& file, std::uint64_t offset, const std::vector<TBytes>& pieces) {
    std::vector<std::span<const std::byte>> slices;
    for (const TBytes& piece : pieces) slices.push_back(std::as_bytes(std::span(piece)));
    return file.WriteAt(offset, slices);
}

template <typename T>
class RadarFileContract : public ::testing::Test {
  protected:
    T files_;
};

using TFileKinds = ::testing::Types<TSystemFiles, TMemoryFiles, TFaultyFiles>;
TYPED_TEST_SUITE(RadarFileContract, TFileKinds);

TYPED_TEST(RadarFileContract, SlicesMoveInOrderAndAWriteBeyondTheEndGrowsWithZeros) {
    const auto file = this->files_.Make(TBytes{1, 2, 3, 4});
    ASSERT_TRUE(file);
    EXPECT_EQ(file->Stamp().Size, 4u);
    ASSERT_TRUE(Write(*file, 2, {{9}, {}, {8, 7}}));
    ASSERT_TRUE(Write(*file, 10, {{5, 6}}));
    EXPECT_EQ(file->Stamp().Size, 12u);
    EXPECT_EQ(Read(*file, 0, 12), (TBytes{1, 2, 9, 8, 7, 0, 0, 0, 0, 0, 5, 6}));

    TBytes head(3);
    TBytes tail(2);
    std::span<std::byte> slices[] = {std::as_writable_bytes(std::span(head)),
                                     std::as_writable_bytes(std::span(tail))};
    ASSERT_TRUE(file->ReadAt(1, slices));
    EXPECT_EQ(head, (TBytes{2, 9, 8}));
    EXPECT_EQ(tail, (TBytes{7, 0}));
    EXPECT_TRUE(file->Sync());
}

TYPED_TEST(RadarFileContract, AReadPastTheEndFails) {
    const auto file = this->files_.Make(TBytes(10, 1));
    ASSERT_TRUE(file);
    bool ok = true;
    Read(*file, 8, 4, &ok);
    EXPECT_FALSE(ok);
    Read(*file, 0, 10, &ok);
    EXPECT_TRUE(ok);
}

TYPED_TEST(RadarFileContract, TruncateCutsAndExtendsWithZerosKeepingTheIdentity) {
    const auto file = this->files_.Make(TBytes{1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(file);
    const TFileStamp before = file->Stamp();
    ASSERT_TRUE(file->Truncate(3));
    EXPECT_EQ(file->Stamp().Size, 3u);
    ASSERT_TRUE(file->Truncate(5));
    EXPECT_EQ(Read(*file, 0, 5), (TBytes{1, 2, 3, 0, 0}));
    const TFileStamp after = file->Stamp();
    EXPECT_EQ(after.Device, before.Device);
    EXPECT_EQ(after.Inode, before.Inode);
}

// ---- The lock of the system's files ------------------------------------------------------------

class RadarFileLockTest : public ::testing::Test {
  protected:
    void SetUp() override { test::WriteBytes(path_, TBytes(100, 7)); }

    TLockStatus Try(TLockKind kind, TRadarFileLock* keep = nullptr) {
        TLockStatus status{};
        auto lock = TRadarFileLock::Acquire(path_, kind, std::chrono::milliseconds(0), status);
        EXPECT_EQ(lock.Held(), status == TLockStatus::Locked);
        if (keep) *keep = std::move(lock);
        return status;
    }

    test::TTempFolder folder_;
    const std::filesystem::path path_ = folder_ / "locked.GPR2";
};

TEST_F(RadarFileLockTest, OneWriterOrManyReaders) {
    TRadarFileLock writer;
    ASSERT_EQ(Try(TLockKind::Exclusive, &writer), TLockStatus::Locked);
    EXPECT_EQ(Try(TLockKind::Exclusive), TLockStatus::Busy);
    EXPECT_EQ(Try(TLockKind::Shared), TLockStatus::Busy);
    // The file's own reads and writes go on under the lock.
    {
        const auto file = OpenRadarFile(path_);
        ASSERT_TRUE(file);
        ASSERT_TRUE(Write(*file, 0, {{1, 2}}));
        EXPECT_EQ(Read(*file, 0, 3), (TBytes{1, 2, 7}));
    }
    ASSERT_TRUE(writer.Downgrade(std::chrono::milliseconds(100)));
    TRadarFileLock reader;
    EXPECT_EQ(Try(TLockKind::Shared, &reader), TLockStatus::Locked);
    EXPECT_EQ(Try(TLockKind::Exclusive), TLockStatus::Busy);
    writer = {};
    EXPECT_EQ(Try(TLockKind::Exclusive), TLockStatus::Busy);
    reader = {};
    EXPECT_EQ(Try(TLockKind::Exclusive), TLockStatus::Locked);
}

TEST_F(RadarFileLockTest, AWaitEndsWhenTheHolderLetsGo) {
    TRadarFileLock writer;
    ASSERT_EQ(Try(TLockKind::Exclusive, &writer), TLockStatus::Locked);
    const auto start = std::chrono::steady_clock::now();
    TLockStatus status{};
    auto waited = TRadarFileLock::Acquire(path_, TLockKind::Exclusive,
                                          std::chrono::milliseconds(150), status);
    EXPECT_EQ(status, TLockStatus::Busy);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
    writer = {};
    waited = TRadarFileLock::Acquire(path_, TLockKind::Exclusive, std::chrono::seconds(5), status);
    EXPECT_EQ(status, TLockStatus::Locked);
}

TEST_F(RadarFileLockTest, AMissingFileCannotBeLocked) {
    TLockStatus status{};
    const auto lock = TRadarFileLock::Acquire(folder_ / "missing.GPR2", TLockKind::Shared,
                                              std::chrono::milliseconds(0), status);
    EXPECT_EQ(status, TLockStatus::Unavailable);
    EXPECT_FALSE(lock.Held());
}

}  // namespace
}  // namespace trelvanox

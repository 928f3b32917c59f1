#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "engine/devices/BasicPartitionDevice.h"
#include "engine/devices/ImageFileDevice.h"
#include "engine/model/FileTime.h"
#include "engine/output/FileRecoverWriter.h"
#include "engine/output/OutputFile.h"
#include "engine/output/RecoverJobs.h"
#include "tests/ntfs/NtfsBuilders.h"
#include "tests/output/OutputFixtures.h"
#include "tests/support/TestFiles.h"

namespace keldrin::output {
namespace {

using keldrin::testing::ScopedTempDir;

namespace fs = std::filesystem;
using keldrin::testing::AddNode;
using keldrin::testing::CountingCallback;
using keldrin::testing::FilesBelow;
using keldrin::testing::MakeVolume;
using keldrin::testing::ReadFile;
using keldrin::testing::TestProperties;
using ntfs::test::MemoryDevice;

// Every byte of the device tells where it is: sector number and offset.
MemoryDevice PatternDevice(int64_t sectors) {
    MemoryDevice device(sectors);
    std::vector<uint8_t> sector(kSectorSize);
    for (int64_t s = 0; s < sectors; ++s) {
        for (size_t i = 0; i < kSectorSize; ++i) sector[i] = static_cast<uint8_t>(s * 31 + i);
        device.Write(s, sector);
    }
    return device;
}

std::string DeviceBytes(MemoryDevice& device, int64_t sector, size_t size) {
    std::string out(size, '\0');
    std::vector<uint8_t> buffer((size + kSectorSize - 1) / kSectorSize * kSectorSize);
    device.ReadSectors(buffer.data(), sector, static_cast<int64_t>(buffer.size() / kSectorSize));
    std::copy_n(buffer.begin(), size, out.begin());
    return out;
}

TEST(FileRecoverWriter, HostileNamesStayInsideTheDestination) {
    MemoryDevice device = PatternDevice(64);
    auto root = MakeVolume(0, 1);
    CFileNode* dots = AddNode(root.get(), new TestProperties("..", 0, kAttrFolder));
    AddNode(dots, new TestProperties("../../escaped.txt", 10, 0, {{2, 1}}));
    AddNode(root.get(), new TestProperties("/etc/passwd", 10, 0, {{3, 1}}));
    AddNode(root.get(), new TestProperties(".", 10, 0, {{4, 1}}));
    AddNode(root.get(), new TestProperties(std::string(300, 'n') + ".txt", 10, 0, {{5, 1}}));
    ScopedTempDir dir;
    const fs::path destination = dir.path() / "out";
    CountingCallback callback;
    RecoverTreeResult result;
    ASSERT_TRUE(RecoverTree(&callback, &device, root.get(), destination.string(), &result));
    EXPECT_EQ(result.outcome, kOutcomeSuccess);
    EXPECT_EQ(callback.files, 4u);
    // Nothing was written beside the destination.
    EXPECT_EQ(FilesBelow(dir.path()).size(), 4u);
    const std::vector<std::string> files = FilesBelow(destination / "Volume");
    const std::vector<std::string> expected = {"_.", "_../.._.._escaped.txt", "_etc_passwd",
                                               std::string(251, 'n') + ".txt"};
    EXPECT_EQ(files, expected);
}

TEST(FileRecoverWriter, OnlyCheckedFilesAreWrittenAndFailuresDoNotStopTheWalk) {
    MemoryDevice device = PatternDevice(256);
    auto root = MakeVolume(10, 16);  // 8 KiB clusters: NTFS cannot have compressed these
    CFileNode* kept = AddNode(root.get(), new TestProperties("kept", 0, kAttrFolder));
    kept->GetProperties()->SetCheckState(kPartlyChecked);
    AddNode(kept, new TestProperties("packed.bin", 100, kAttrCompressed, {{0, 1}}));
    AddNode(kept, new TestProperties("plain.bin", 9000, 0, {{1, 2}}));
    CFileNode* skipped = AddNode(kept, new TestProperties("unchecked.bin", 10, 0, {{0, 1}}));
    skipped->GetProperties()->SetCheckState(kUnchecked);
    CFileNode* off = AddNode(root.get(), new TestProperties("off", 0, kAttrFolder));
    off->GetProperties()->SetCheckState(kUnchecked);
    AddNode(off, new TestProperties("inside.bin", 10, 0, {{0, 1}}));
    ScopedTempDir dir;
    CountingCallback callback;
    RecoverTreeResult result;
    ASSERT_TRUE(RecoverTree(&callback, &device, root.get(), dir.path().string(), &result));
    EXPECT_EQ(result.outcome, kOutcomeSuccess);
    EXPECT_EQ(callback.files, 1u);
    // The compressed file was created (to settle its name) but not written.
    EXPECT_EQ(FilesBelow(dir.path()),
              (std::vector<std::string>{"Volume/kept/packed.bin", "Volume/kept/plain.bin"}));
    // Cluster 1 of a volume at sector 10 with 16 sectors per cluster starts at sector 26.
    EXPECT_EQ(ReadFile(dir.path() / "Volume/kept/plain.bin"), DeviceBytes(device, 26, 9000));
}

TEST(FileRecoverWriter, SparseRunsAndExt2HolesAreWrittenAsZeros) {
    MemoryDevice device = PatternDevice(64);
    auto root = MakeVolume(0, 2);
    ScopedTempDir dir;
    CFileNode* ntfs = AddNode(
        root.get(),
        new TestProperties("sparse.bin", 3000, 0, {{4, 1}, {kSparseStart, 1}, {5, 1}}, kPropertiesNtfs));
    CFileNode* ext2 = AddNode(
        root.get(), new TestProperties("holes.bin", 3000, kAttrSparse, {{0, 1}, {6, 2}}, kPropertiesExt2));
    CFileRecoverWriter writer(nullptr, &device);
    const std::string sparse = (dir.path() / "sparse.bin").string();
    const std::string holes = (dir.path() / "holes.bin").string();
    ASSERT_EQ(writer.RecoverFile(ntfs, sparse), kOutcomeSuccess);
    ASSERT_EQ(writer.RecoverFile(ext2, holes), kOutcomeSuccess);
    EXPECT_EQ(ReadFile(sparse),
              DeviceBytes(device, 8, 1024) + std::string(1024, '\0') + DeviceBytes(device, 10, 952));
    EXPECT_EQ(ReadFile(holes), std::string(1024, '\0') + DeviceBytes(device, 12, 1976));
}

TEST(FileRecoverWriter, CancellingMidFileKeepsThePartAndStopsTheWalk) {
    MemoryDevice device = PatternDevice(16384);
    auto root = MakeVolume(0, 8);
    // Children are walked newest first.
    AddNode(root.get(), new TestProperties("after.bin", 10, 0, {{200, 1}}));
    AddNode(root.get(), new TestProperties("big.bin", 8 << 20, 0, {{0, 2048}}));
    ScopedTempDir dir;
    CountingCallback callback;
    callback.cancelAtBytes = 3;  // after the third piece
    RecoverTreeResult result;
    ASSERT_TRUE(RecoverTree(&callback, &device, root.get(), dir.path().string(), &result));
    EXPECT_EQ(result.outcome, kOutcomeCancelled);
    const uintmax_t kept = fs::file_size(dir.path() / "Volume/big.bin");
    EXPECT_EQ(kept, callback.bytes);
    EXPECT_GT(kept, 0u);
    EXPECT_LT(kept, 8u << 20);
    EXPECT_EQ(ReadFile(dir.path() / "Volume/big.bin"), DeviceBytes(device, 0, kept));
    EXPECT_FALSE(fs::exists(dir.path() / "Volume/after.bin"));
    EXPECT_EQ(callback.files, 0u);
}

TEST(FileRecoverWriter, ImageFilesAreCopiedInTheKernelByteForByte) {
    // An image file lets the kernel copy the extents; a partition window over it places them.
    ScopedTempDir dir;
    MemoryDevice pattern = PatternDevice(24576);
    const std::string image = (dir.path() / "disk.img").string();
    {
        std::ofstream out(image, std::ios::binary);
        out << DeviceBytes(pattern, 0, 24576 * kSectorSize);
    }
    CImageFileDevice file(image);
    CBasicPartitionDevice partition(&file, 100, 24000);
    int descriptor = -1;
    int64_t offset = 0;
    ASSERT_TRUE(partition.LocateInFile(10, 20, descriptor, offset));
    EXPECT_EQ(offset, 110 * kSectorSize);
    EXPECT_FALSE(partition.LocateInFile(23990, 20, descriptor, offset));  // runs past the window

    auto root = MakeVolume(4, 8);
    // 9 MiB + 5 bytes over two fragments: more than one kernel copy step, and a tail piece.
    const uint64_t size = (9 << 20) + 5;
    CFileNode* node = AddNode(root.get(), new TestProperties("frag.bin", size, 0, {{2400, 1}, {0, 2310}}));
    const std::string path = (dir.path() / "frag.bin").string();
    CountingCallback callback;
    CFileRecoverWriter writer(&callback, &partition);
    ASSERT_EQ(writer.RecoverFile(node, path), kOutcomeSuccess);
    const std::string expected =
        DeviceBytes(pattern, 100 + 4 + 2400 * 8, 4096) + DeviceBytes(pattern, 100 + 4, size - 4096);
    EXPECT_TRUE(ReadFile(path) == expected);  // megabytes: no printing
    EXPECT_EQ(callback.bytes, size);
}

TEST(FileRecoverWriter, ReadOnlyFilesKeepTheirTimes) {
    MemoryDevice device = PatternDevice(16);
    auto root = MakeVolume(0, 1);
    auto* properties = new TestProperties("old.txt", 100, kAttrReadOnly, {{1, 1}});
    const uint64_t when = kFileTimeUnixEpoch + 1'000'000'000ull * kFileTimeTicksPerSecond + 1234567;
    properties->modification = when;
    properties->access = when + kFileTimeTicksPerSecond;
    AddNode(root.get(), properties);
    ScopedTempDir dir;
    ASSERT_TRUE(RecoverTree(nullptr, &device, root.get(), dir.path().string()));
    struct stat st {};
    ASSERT_EQ(stat((dir.path() / "Volume/old.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, 1'000'000'000);
    EXPECT_EQ(st.st_mtim.tv_nsec, 123456700);
    EXPECT_EQ(st.st_atim.tv_sec, 1'000'000'001);
    EXPECT_EQ(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH), 0u);
}

TEST(FileRecoverWriter, AnOutOfDateDeviceReadGivesZerosNotGarbage) {
    MemoryDevice device = PatternDevice(16);
    auto root = MakeVolume(0, 1);
    CFileNode* node = AddNode(root.get(), new TestProperties("past-end.bin", 1024, 0, {{14, 4}}));
    ScopedTempDir dir;
    const std::string path = (dir.path() / "p").string();
    CFileRecoverWriter writer(nullptr, &device);
    ASSERT_EQ(writer.RecoverFile(node, path), kOutcomeSuccess);
    // The piece runs past the device's end: that read fails and gives zeros, the size is right.
    EXPECT_EQ(ReadFile(path), std::string(1024, '\0'));
}

TEST(FileRecoverWriter, AFullDestinationStopsTheWalkOnce) {
    ScopedTempDir dir;
    const fs::path mount = dir.path() / "small";
    fs::create_directory(mount);
    if (geteuid() != 0 || ::mount("tmpfs", mount.c_str(), "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "needs a small tmpfs (root)";
    {
        MemoryDevice device = PatternDevice(1024);
        auto root = MakeVolume(0, 8);
        for (int i = 0; i < 50; ++i)
            AddNode(root.get(),
                    new TestProperties("f" + std::to_string(i) + ".bin", 100 * 1024, 0, {{0, 25}}));
        CountingCallback callback;
        RecoverTreeResult result;
        ASSERT_TRUE(RecoverTree(&callback, &device, root.get(), mount.string(), &result));
        EXPECT_EQ(result.outcome, kOutcomeFailure);
        EXPECT_LT(callback.files, 3u);
        EXPECT_NE(result.outOfSpaceFile.find("/Volume/f"), std::string::npos);
        // The walk stopped: no trail of empty files after the one that filled the disk.
        EXPECT_LE(FilesBelow(mount).size(), callback.files + 1);
    }
    ::umount(mount.c_str());
}

}  // namespace
}  // namespace keldrin::output

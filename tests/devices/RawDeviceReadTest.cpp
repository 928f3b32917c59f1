// The read path shared by disks and volumes: unopened devices, failed and short reads, and the
// "ignore bad sectors" handling with its probes and its map of unreadable regions.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "engine/devices/DiskDevice.h"
#include "engine/devices/VolumeDevice.h"
#include "tests/devices/DeviceTestSupport.h"

namespace keldrin {
namespace {

using test::ByteRead;
using test::FakeRawReader;

constexpr int64_t kChunkBytes = kProbeChunkSectors * kSectorSize;
constexpr int64_t kDeviceSectors = 200000;  // room for every probe past sector 1000
constexpr int64_t kFirst = 1000;

enum class Kind { kDisk, kVolume };

struct RawDevice {
    std::unique_ptr<IStorageDevice> device;
    FakeRawReader* reader = nullptr;  // owned by device
    const CBadSectorMap* map = nullptr;
};

class RawDeviceRead : public testing::TestWithParam<Kind> {
  protected:
    RawDeviceRead() { system_.AddBlockEntry("sda"); }

    RawDevice Make(int64_t sectors = kDeviceSectors) {
        auto reader = std::make_unique<FakeRawReader>(sectors);
        RawDevice d;
        d.reader = reader.get();
        if (GetParam() == Kind::kDisk) {
            auto disk = std::make_unique<CDiskDevice>(0, std::move(reader));
            d.map = &disk->GetBadSectorMap();
            d.device = std::move(disk);
        } else {
            auto volume = std::make_unique<CVolumeDevice>("/dev/sda1", "", std::move(reader));
            d.map = &volume->GetBadSectorMap();
            d.device = std::move(volume);
        }
        EXPECT_TRUE(d.reader->IsOpen());
        return d;
    }

    // A device whose reader was never opened: an unlisted disk number or an empty volume path.
    std::unique_ptr<IStorageDevice> MakeUnopened() {
        if (GetParam() == Kind::kDisk)
            return std::make_unique<CDiskDevice>(7, std::make_unique<FakeRawReader>(100));
        return std::make_unique<CVolumeDevice>("", "", std::make_unique<FakeRawReader>(100));
    }

    test::FakeSystem system_;
};

ByteRead ProbeAt(int64_t first, int64_t chunks) {
    return {(first + chunks * kProbeChunkSectors) * kSectorSize, kChunkBytes};
}

TEST_P(RawDeviceRead, GoodReadAnswersTheSectors) {
    test::ScopedIgnoreBadSectors ignore(false);
    RawDevice d = Make();
    EXPECT_EQ(d.device->GetTotalSectors(), kDeviceSectors);
    std::vector<unsigned char> buffer(3 * kSectorSize);
    ASSERT_TRUE(d.device->ReadSectors(buffer.data(), 42, 3));
    EXPECT_EQ(buffer, test::Pattern(42, 3));
    EXPECT_EQ(d.reader->Reads(), (std::vector<ByteRead>{{42 * kSectorSize, 3 * kSectorSize}}));
}

TEST_P(RawDeviceRead, IgnoringBadSectorsZeroesProbesAndThenAnswersTheRegionFromMemory) {
    test::ScopedIgnoreBadSectors ignore(true);
    RawDevice d = Make();
    d.reader->FailSector(kFirst + 2);
    std::vector<unsigned char> buffer(4 * kSectorSize, 0xAA);

    ASSERT_TRUE(d.device->ReadSectors(buffer.data(), kFirst, 4));
    EXPECT_TRUE(test::IsZero(buffer.data(), buffer.size()));
    EXPECT_EQ(d.reader->Reads(), (std::vector<ByteRead>{{kFirst * kSectorSize, 4 * kSectorSize},
                                                        ProbeAt(kFirst, 50),
                                                        ProbeAt(kFirst, 25),
                                                        ProbeAt(kFirst, 12)}));
    const int64_t end = kFirst + 10 * kProbeChunkSectors;
    EXPECT_EQ(d.map->GetRanges(), (std::vector<BadSectorRange>{{kFirst, end}}));

    // Reads that meet [first, end], both ends included, never reach the device again.
    d.reader->ClearReads();
    struct Case {
        int64_t first, count;
    } meeting[] = {{kFirst, 1},        {kFirst - 5, 6}, {end, 1},
                   {kFirst + 100, 64}, {end - 1, 10},   {kFirst - 10, 30000}};
    for (const Case& c : meeting) {
        std::vector<unsigned char> b(c.count * kSectorSize, 0xAA);
        EXPECT_TRUE(d.device->ReadSectors(b.data(), c.first, c.count)) << c.first;
        EXPECT_TRUE(test::IsZero(b.data(), b.size())) << c.first;
    }
    EXPECT_TRUE(d.reader->Reads().empty());

    // Just outside the region the device is read as usual.
    std::vector<unsigned char> before(10 * kSectorSize);
    ASSERT_TRUE(d.device->ReadSectors(before.data(), kFirst - 10, 10));
    EXPECT_EQ(before, test::Pattern(kFirst - 10, 10));
    std::vector<unsigned char> after(kSectorSize);
    ASSERT_TRUE(d.device->ReadSectors(after.data(), end + 1, 1));
    EXPECT_EQ(after, test::Pattern(end + 1, 1));
    EXPECT_EQ(d.reader->Reads().size(), 2u);
    EXPECT_EQ(d.map->GetRanges().size(), 1u);
}

TEST_P(RawDeviceRead, ProbeExtentIsTheDistanceOfTheFirstFailingProbe) {
    struct Case {
        const char* name;
        int64_t failingChunk;  // -1: every probe reads
        int64_t deviceSectors;
        int64_t extent;
        size_t probes;
    } cases[] = {
        {"all probes read", -1, kDeviceSectors, 10, 3},
        {"fails at 50", 50, kDeviceSectors, 50, 1},
        {"fails at 25", 25, kDeviceSectors, 25, 2},
        {"fails at 12", 12, kDeviceSectors, 12, 3},
        {"probe past the device end", -1, kFirst + 30 * kProbeChunkSectors, 50, 1},
        {"probe runs out at the device end", -1, kFirst + 50 * kProbeChunkSectors + 100, 50, 1},
    };
    test::ScopedIgnoreBadSectors ignore(true);
    for (const Case& c : cases) {
        RawDevice d = Make(c.deviceSectors);
        d.reader->FailSector(kFirst);
        if (c.failingChunk >= 0) d.reader->FailSector(kFirst + c.failingChunk * kProbeChunkSectors + 7);
        unsigned char buffer[kSectorSize];
        EXPECT_TRUE(d.device->ReadSectors(buffer, kFirst, 1)) << c.name;
        EXPECT_EQ(d.reader->Reads().size(), 1 + c.probes) << c.name;
        EXPECT_EQ(d.map->GetRanges(),
                  (std::vector<BadSectorRange>{{kFirst, kFirst + c.extent * kProbeChunkSectors}}))
            << c.name;
    }
}

TEST_P(RawDeviceRead, WithoutIgnoringBadSectorsAFailedReadFailsAndRecordsNothing) {
    test::ScopedIgnoreBadSectors ignore(false);
    RawDevice d = Make();
    d.reader->FailSector(kFirst + 2);
    std::vector<unsigned char> buffer(4 * kSectorSize);
    EXPECT_FALSE(d.device->ReadSectors(buffer.data(), kFirst, 4));
    EXPECT_EQ(d.reader->Reads().size(), 1u);
    EXPECT_TRUE(d.map->IsEmpty());
    // Nothing was remembered: the next read tries the device again.
    EXPECT_FALSE(d.device->ReadSectors(buffer.data(), kFirst, 4));
    EXPECT_EQ(d.reader->Reads().size(), 2u);
}

TEST_P(RawDeviceRead, ShortReads) {
    std::vector<unsigned char> buffer(4 * kSectorSize, 0xAA);
    {
        // A whole sector missing is a failure.
        test::ScopedIgnoreBadSectors ignore(false);
        RawDevice d = Make();
        d.reader->SetShortBy(kSectorSize);
        EXPECT_FALSE(d.device->ReadSectors(buffer.data(), kFirst, 4));
    }
    {
        // ... answered with zeros when bad sectors are ignored; the probes come back short too.
        test::ScopedIgnoreBadSectors ignore(true);
        RawDevice d = Make();
        d.reader->SetShortBy(kSectorSize);
        EXPECT_TRUE(d.device->ReadSectors(buffer.data(), kFirst, 4));
        EXPECT_TRUE(test::IsZero(buffer.data(), buffer.size()));
        EXPECT_EQ(d.map->GetRanges(),
                  (std::vector<BadSectorRange>{{kFirst, kFirst + 50 * kProbeChunkSectors}}));
    }
    {
        // A last sector that arrives in part counts, with its missing tail zeroed.
        test::ScopedIgnoreBadSectors ignore(false);
        RawDevice d = Make();
        d.reader->SetShortBy(100);
        std::fill(buffer.begin(), buffer.end(), 0xAA);
        ASSERT_TRUE(d.device->ReadSectors(buffer.data(), kFirst, 4));
        const std::vector<unsigned char> expected = test::Pattern(kFirst, 4);
        EXPECT_TRUE(std::equal(buffer.begin(), buffer.end() - 100, expected.begin()));
        EXPECT_TRUE(test::IsZero(buffer.data() + buffer.size() - 100, 100));
    }
}

TEST_P(RawDeviceRead, UnopenedDeviceZeroFillsAndFails) {
    for (bool ignoreBad : {false, true}) {
        test::ScopedIgnoreBadSectors ignore(ignoreBad);
        std::unique_ptr<IStorageDevice> device = MakeUnopened();
        std::vector<unsigned char> buffer(2 * kSectorSize, 0xAA);
        EXPECT_FALSE(device->ReadSectors(buffer.data(), 0, 2));
        EXPECT_TRUE(test::IsZero(buffer.data(), buffer.size()));
        EXPECT_EQ(device->GetTotalSectors(), 0);
    }
}

TEST_P(RawDeviceRead, CloseAndReopen) {
    test::ScopedIgnoreBadSectors ignore(false);
    RawDevice d = Make();
    EXPECT_TRUE(d.device->Close());
    unsigned char buffer[kSectorSize];
    EXPECT_FALSE(d.device->ReadSectors(buffer, 0, 1));
    EXPECT_EQ(d.device->GetTotalSectors(), 0);
    EXPECT_TRUE(d.device->Close());
    ASSERT_TRUE(d.device->Open());
    EXPECT_TRUE(d.device->ReadSectors(buffer, 0, 1));
}

TEST_P(RawDeviceRead, RequestsOutsideSectorArithmeticAreRefusedWithoutDeviceAccess) {
    test::ScopedIgnoreBadSectors ignore(true);
    RawDevice d = Make();
    unsigned char buffer[kSectorSize];
    EXPECT_FALSE(d.device->ReadSectors(buffer, -1, 1));
    EXPECT_FALSE(d.device->ReadSectors(buffer, 0, -1));
    EXPECT_FALSE(d.device->ReadSectors(buffer, INT64_MAX / kSectorSize, 1));
    EXPECT_FALSE(d.device->ReadSectors(buffer, 0, INT64_MAX));
    EXPECT_TRUE(d.reader->Reads().empty());
    EXPECT_TRUE(d.map->IsEmpty());
}

TEST_P(RawDeviceRead, TwoThreadsShareOneDevice) {
    test::ScopedIgnoreBadSectors ignore(true);
    RawDevice d = Make();
    d.reader->FailSector(kFirst);
    auto work = [&](int64_t base) {
        std::vector<unsigned char> buffer(8 * kSectorSize);
        for (int i = 0; i < 200; ++i) {
            const int64_t first = base + (i % 16) * 8;
            if (!d.device->ReadSectors(buffer.data(), first, 8) || buffer != test::Pattern(first, 8))
                return false;
            if (!d.device->ReadSectors(buffer.data(), kFirst, 8) ||
                !test::IsZero(buffer.data(), buffer.size()))
                return false;
        }
        return true;
    };
    bool okA = false, okB = false;
    std::thread a([&] { okA = work(0); });
    std::thread b([&] { okB = work(500); });
    a.join();
    b.join();
    EXPECT_TRUE(okA);
    EXPECT_TRUE(okB);
    EXPECT_FALSE(d.map->IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(DiskAndVolume, RawDeviceRead, testing::Values(Kind::kDisk, Kind::kVolume),
                         [](const testing::TestParamInfo<Kind>& info) {
                             return info.param == Kind::kDisk ? "Disk" : "Volume";
                         });

}  // namespace
}  // namespace keldrin

// Whether a destination lies on what is being read, with a fake sysfs tree for the kernel's view.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "engine/devices/SameSource.h"
#include "tests/devices/DeviceTestSupport.h"

namespace keldrin {
namespace {

// sda: sda1 [2048, 4096) and sda2 [4096, 8192); sdb whole; dm-0 built on sda2; an image elsewhere.
struct Machine {
    test::FakeSystem system;
    test::MemoryDevice sda{8192}, sdb{1000};
    Machine() {
        system.AddDisk("sda", {"8:0", 8192, "", "", ""});
        system.AddPartition("sda", "sda1", 2048, 2048, "8:1");
        system.AddPartition("sda", "sda2", 4096, 4096, "8:2");
        system.AddDisk("sdb", {"8:16", 1000, "", "", ""});
        system.AddStackedDevice("dm-0", "253:0", {"sda2"});
    }
    VolumeEntry Entry(IStorageDevice* disk, const char* name, int64_t start, int64_t count,
                      uint64_t dev = 0) {
        VolumeEntry e;
        e.deviceNumber = dev;
        e.members[0] = VolumeMember{start, count, disk, 0, name};
        return e;
    }
};

TEST(SameSource, DestinationOnTheVolumeOrOnAnOverlappingExtent) {
    Machine m;
    const VolumeEntry sda1 = m.Entry(&m.sda, "sda", 2048, 2048, makedev(8, 1));
    const VolumeEntry sda2 = m.Entry(&m.sda, "sda", 4096, 4096, makedev(8, 2));
    const VolumeEntry wholeSda = m.Entry(&m.sda, "sda", 0, 8192);     // a file system on the whole disk
    const VolumeEntry unmatched = m.Entry(&m.sda, "sda", 5000, 100);  // the kernel has no device for it
    const VolumeEntry onSdb = m.Entry(&m.sdb, "sdb", 0, 1000);
    VolumeEntry image = m.Entry(&m.sda, "sda", 2048, 2048, makedev(8, 1));
    image.isImage = true;
    VolumeEntry floppy;
    floppy.deviceNumber = makedev(2, 0);

    struct Case {
        const char* what;
        const VolumeEntry& selected;
        uint64_t destination;
        bool same;
    } cases[] = {
        {"the volume itself", sda1, makedev(8, 1), true},
        {"another partition of the disk", sda1, makedev(8, 2), false},
        {"a volume built on the partition", sda2, makedev(253, 0), true},
        {"a volume built on another partition", sda1, makedev(253, 0), false},
        {"a partition inside the whole-disk volume", wholeSda, makedev(8, 1), true},
        {"the whole disk under a partition", sda1, makedev(8, 0), true},
        {"an extent the kernel does not list", unmatched, makedev(8, 2), true},
        {"another disk", sda1, makedev(8, 16), false},
        {"the other disk's volume", onSdb, makedev(8, 16), true},
        {"an image entry never", image, makedev(8, 1), false},
        {"a floppy by its device number", floppy, makedev(2, 0), true},
        {"an unknown destination", sda1, makedev(9, 9), false},
        {"no destination device", sda1, 0, false},
    };
    for (const Case& c : cases) EXPECT_EQ(IsSameSourceDevice(c.selected, c.destination), c.same) << c.what;
}

TEST(SameSource, DiskMode) {
    Machine m;
    StorageDisk sda;
    sda.kernelName = "sda";
    sda.deviceNumber = makedev(8, 0);
    StorageDisk image;  // an image has no kernel name
    EXPECT_TRUE(IsSameSourceDevice(sda, makedev(8, 1)));
    EXPECT_TRUE(IsSameSourceDevice(sda, makedev(8, 0)));
    EXPECT_TRUE(IsSameSourceDevice(sda, makedev(253, 0)));
    EXPECT_FALSE(IsSameSourceDevice(sda, makedev(8, 16)));
    EXPECT_FALSE(IsSameSourceDevice(image, makedev(8, 1)));
}

TEST(SameSource, DestinationFolderDevice) {
    test::TempDir dir;
    struct stat st {};
    ASSERT_EQ(::stat(dir.path().c_str(), &st), 0);
    const uint64_t expected =
        major(st.st_dev) != 0 ? st.st_dev : DestinationDeviceNumber(dir.path().string());
    EXPECT_EQ(DestinationDeviceNumber(dir.path().string()), expected);
    // A folder yet to be made lands on its nearest existing parent.
    EXPECT_EQ(DestinationDeviceNumber((dir.path() / "new" / "deeper").string()), expected);
    EXPECT_NE(DestinationDeviceNumber(""), 0u);  // the current folder

    // The folder form resolves and tests in one go.
    VolumeEntry selected;
    selected.deviceNumber = expected;
    EXPECT_TRUE(IsSameSource(selected, dir.path().string()));
    selected.isImage = true;
    EXPECT_FALSE(IsSameSource(selected, dir.path().string()));
}

}  // namespace
}  // namespace keldrin

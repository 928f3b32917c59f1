// The machine's whole disks, as the kernel lists them under <sys>/block: sd*, vd*, hd*, xvd*,
// nvme<N>n<M>, mmcblk<N>, and loop devices with a backing file (so an image attached with
// "losetup -r" counts as a disk). Partitions are not disks. Disk n is the n-th name in the
// number-aware name order (sdz before sdaa, loop2 before loop10).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace keldrin::platform {

struct DiskEntry {
    std::string name;        // "sda", "nvme0n1", "loop3"
    std::string devicePath;  // <dev>/<name>
};

// The sysfs root and device folder that DiskList() reads, "/sys" and "/dev" unless a test points
// them at a fake tree. Safe to call from any thread.
void SetDiskListRoots(const std::string& sysRoot, const std::string& devRoot);
void ResetDiskListRoots();

struct DiskListRoots {
    std::string sys = "/sys";
    std::string dev = "/dev";
};
// The roots in force now (the other sysfs readers of platform/ follow them too).
DiskListRoots GetDiskListRoots();

// Whether a /sys/block name has the form of a whole disk (the loop backing file is not checked).
bool IsWholeDiskName(std::string_view name);

// The disk order: the name's family ("sd", "nvme", ...) alphabetically, then its letter and number
// parts by value. Names of no known family sort after the others, by plain text.
bool DiskNameLess(std::string_view a, std::string_view b);

class DiskList {
  public:
    // Reads the process-wide roots.
    DiskList();
    DiskList(const std::string& sysRoot, const std::string& devRoot);

    const std::vector<DiskEntry>& Disks() const { return disks_; }
    size_t Count() const { return disks_.size(); }
    // The device path of disk n; empty when n lies outside the list.
    std::string DevicePath(int64_t n) const;

  private:
    std::vector<DiskEntry> disks_;
};

}  // namespace keldrin::platform

#include "engine/devices/DiskDevice.h"

#include <utility>

#include "platform/DiskList.h"

namespace keldrin {

CDiskDevice::CDiskDevice(int diskNumber, std::unique_ptr<IRawReader> reader)
    : diskNumber_(diskNumber), access_(std::move(reader)) {
    Open();
}

CDiskDevice::~CDiskDevice() {
    Close();
}

bool CDiskDevice::Open() {
    access_.Close();
    listed_ = false;
    devicePath_.clear();
    if (diskNumber_ < 0) return false;
    devicePath_ = platform::DiskList().DevicePath(diskNumber_);
    if (devicePath_.empty()) return false;
    listed_ = true;
    return access_.Open(devicePath_);
}

bool CDiskDevice::Close() {
    access_.Close();
    return true;
}

bool CDiskDevice::ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) {
    return access_.ReadSectors(buffer, firstSector, sectorCount);
}

int64_t CDiskDevice::GetTotalSectors() {
    return access_.GetTotalSectors();
}

int CDiskDevice::GetDiskNumber() const {
    return listed_ ? diskNumber_ : -1;
}

int64_t CDiskDevice::GetDiskSignature() {
    unsigned char sector[kSectorSize];
    if (!ReadSectors(sector, 0, 1)) return -1;
    return static_cast<int64_t>(sector[440]) | static_cast<int64_t>(sector[441]) << 8 |
           static_cast<int64_t>(sector[442]) << 16 | static_cast<int64_t>(sector[443]) << 24;
}

bool CDiskDevice::GetGeometry(DiskGeometry& geometry) {
    return access_.GetGeometry(geometry);
}

int CDiskDevice::GetHeadsPerCylinder() {
    DiskGeometry geometry;
    if (!GetGeometry(geometry) || geometry.tracksPerCylinder == 0) return kDefaultHeadsPerCylinder;
    return static_cast<int>(geometry.tracksPerCylinder);
}

}  // namespace keldrin

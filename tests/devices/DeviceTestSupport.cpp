#include "tests/devices/DeviceTestSupport.h"

#include <stdlib.h>

#include <algorithm>
#include <cstring>
#include <fstream>

#include "platform/DiskList.h"
#include "platform/MountInfo.h"
#include "shared/ScanSettings.h"

namespace keldrin::test {

void FillPattern(void* buffer, int64_t firstSector, int64_t sectorCount) {
    auto* out = static_cast<unsigned char*>(buffer);
    for (int64_t s = 0; s < sectorCount; ++s)
        for (int i = 0; i < kSectorSize; ++i) out[s * kSectorSize + i] = PatternByte(firstSector + s, i);
}

std::vector<unsigned char> Pattern(int64_t firstSector, int64_t sectorCount) {
    std::vector<unsigned char> bytes(static_cast<size_t>(sectorCount * kSectorSize));
    FillPattern(bytes.data(), firstSector, sectorCount);
    return bytes;
}

bool IsZero(const void* buffer, int64_t bytes) {
    const auto* p = static_cast<const unsigned char*>(buffer);
    return std::all_of(p, p + bytes, [](unsigned char b) { return b == 0; });
}

bool MemoryDevice::ReadSectors(void* buffer, int64_t firstSector, int64_t sectorCount) {
    reads.push_back({firstSector, sectorCount});
    if (failAll || firstSector < 0 || sectorCount < 0 || firstSector + sectorCount > total_) return false;
    FillPattern(buffer, firstSector, sectorCount);
    return true;
}

bool FakeRawReader::Open(const std::string& path) {
    openedPath = path;
    open_ = true;
    return true;
}

int64_t FakeRawReader::ReadAt(void* buffer, int64_t size, int64_t offset) {
    std::lock_guard lock(mutex_);
    reads_.push_back({offset, size});
    if (!open_ || offset < 0 || size < 0) return -1;
    const int64_t sizeBytes = sizeSectors_ * kSectorSize;
    const int64_t end = std::min(offset + size, sizeBytes);
    if (offset >= end) return 0;
    for (int64_t s = offset / kSectorSize; s * kSectorSize < end; ++s)
        if (failing_.count(s)) return -1;
    auto* out = static_cast<unsigned char*>(buffer);
    for (int64_t at = offset; at < end; ++at)
        out[at - offset] = PatternByte(at / kSectorSize, static_cast<int>(at % kSectorSize));
    return std::max<int64_t>(0, end - offset - shortBy_);
}

bool FakeRawReader::GetGeometry(DiskGeometry& geometry) {
    if (!open_) return false;
    geometry = DiskGeometry{sizeSectors_ / (255 * 63), kMediaFixed, 255, 63, 512};
    return true;
}

void FakeRawReader::FailSector(int64_t sector) {
    std::lock_guard lock(mutex_);
    failing_.insert(sector);
}

void FakeRawReader::SetShortBy(int64_t bytes) {
    std::lock_guard lock(mutex_);
    shortBy_ = bytes;
}

std::vector<ByteRead> FakeRawReader::Reads() const {
    std::lock_guard lock(mutex_);
    return reads_;
}

void FakeRawReader::ClearReads() {
    std::lock_guard lock(mutex_);
    reads_.clear();
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "keldrin-devices-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

std::string TempDir::WriteFile(const std::string& name, const std::vector<unsigned char>& bytes) const {
    const std::filesystem::path file = path_ / name;
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return file.string();
}

ScopedIgnoreBadSectors::ScopedIgnoreBadSectors(bool on) : saved_(GetScanSettings().ignoreBadSectors) {
    GetScanSettings().ignoreBadSectors = on;
}

ScopedIgnoreBadSectors::~ScopedIgnoreBadSectors() {
    GetScanSettings().ignoreBadSectors = saved_;
}

FakeSystem::FakeSystem() {
    std::filesystem::create_directories(dir_.path() / "sys" / "block");
    std::filesystem::create_directories(dir_.path() / "dev");
    platform::SetDiskListRoots(sysRoot(), devRoot());
    platform::SetMountInfoPath((dir_.path() / "mountinfo").string());
}

FakeSystem::~FakeSystem() {
    platform::ResetDiskListRoots();
    platform::ResetMountInfoPath();
}

void FakeSystem::AddDisk(const std::string& name, const FakeDisk& disk) {
    namespace fs = std::filesystem;
    const fs::path link = dir_.path() / "sys" / "block" / name;
    fs::path entry = link;
    if (!disk.devicePath.empty()) {
        entry = dir_.path() / "sys" / "devices" / disk.devicePath / name;
        fs::create_directories(entry);
        fs::create_directory_symlink(entry, link);
    }
    fs::create_directories(entry);
    std::ofstream(entry / "size") << disk.sectors << "\n";
    if (!disk.dev.empty()) std::ofstream(entry / "dev") << disk.dev << "\n";
    if (!disk.vendor.empty() || !disk.model.empty()) fs::create_directories(entry / "device");
    if (!disk.vendor.empty()) std::ofstream(entry / "device" / "vendor") << disk.vendor << "\n";
    if (!disk.model.empty()) std::ofstream(entry / "device" / "model") << disk.model << "\n";
}

void FakeSystem::AddStackedDevice(const std::string& name, const std::string& dev,
                                  const std::vector<std::string>& slaves) {
    const std::filesystem::path entry = dir_.path() / "sys" / "block" / name;
    std::filesystem::create_directories(entry / "slaves");
    std::ofstream(entry / "dev") << dev << "\n";
    for (const std::string& slave : slaves) std::filesystem::create_directories(entry / "slaves" / slave);
}

void FakeSystem::WriteMountInfo(const std::string& text) {
    std::ofstream(dir_.path() / "mountinfo") << text;
}

void FakeSystem::AddBlockEntry(const std::string& name, const std::string& backingFile) {
    const std::filesystem::path entry = dir_.path() / "sys" / "block" / name;
    std::filesystem::create_directories(entry);
    std::ofstream(entry / "size") << "0\n";
    if (!backingFile.empty()) {
        std::filesystem::create_directories(entry / "loop");
        std::ofstream(entry / "loop" / "backing_file") << backingFile << "\n";
    }
}

void FakeSystem::AddPartition(const std::string& disk, const std::string& name, int64_t start,
                              int64_t sectors, const std::string& dev) {
    const std::filesystem::path entry = dir_.path() / "sys" / "block" / disk / name;
    std::filesystem::create_directories(entry);
    std::ofstream(entry / "partition") << "1\n";
    if (dev.empty()) return;
    std::ofstream(entry / "start") << start << "\n";
    std::ofstream(entry / "size") << sectors << "\n";
    std::ofstream(entry / "dev") << dev << "\n";
}

std::string FakeSystem::AddDeviceFile(const std::string& name, const std::vector<unsigned char>& bytes) {
    const std::filesystem::path file = dir_.path() / "dev" / name;
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return file.string();
}

}  // namespace keldrin::test

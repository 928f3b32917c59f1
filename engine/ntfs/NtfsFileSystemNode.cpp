#include "engine/ntfs/NtfsFileSystemNode.h"

#include <cstdio>
#include <vector>

#include "engine/devices/Volume.h"
#include "engine/model/FileProperties.h"
#include "engine/model/FileTree.h"
#include "engine/model/NTFSFileProperties.h"
#include "engine/ntfs/FileRecord.h"
#include "engine/ntfs/SystemFiles.h"
#include "engine/ntfs/VolumeName.h"

namespace keldrin::ntfs {
namespace {

constexpr int64_t kVolumeRecord = 3;

size_t Utf8Characters(std::string_view text) {
    size_t count = 0;
    for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

}  // namespace

CFileSystemNode* CreateNtfsFileSystemNode(int64_t firstSector, uint32_t sectorsPerCluster, int index,
                                          std::string_view label) {
    char name[32];
    std::snprintf(name, sizeof name, "%d NTFS", index + 1);
    NTFSPropertiesRecord record;
    record.name = name;
    record.attributes = kAttrFolder;
    auto properties = CNTFSFileProperties::InitFromRecord(record);
    TreeOwner<CFileSystemNode> node(CreateFileSystemNode());
    if (!properties || !node) return nullptr;
    node->SetProperties(properties.release());
    node->SetVolumeLocation(firstSector, sectorsPerCluster);
    node->SetFileSystemType(kFsNtfs);
    const size_t characters = Utf8Characters(label);
    if (characters > 0 && characters <= kMaxShownLabelChars) node->SetDisplayName(label);
    return node.release();
}

bool ReadNtfsLabel(int64_t mftRecordSector, IStorageDevice* device, std::string& label, uint32_t recordSize) {
    label.clear();
    if (!device || mftRecordSector < 0 || !IsUsableRecordSize(recordSize)) return false;
    const int64_t perRecord = recordSize / kSectorSize;
    if (mftRecordSector > INT64_MAX - kVolumeRecord * perRecord) return false;
    const int64_t sector = mftRecordSector + kVolumeRecord * perRecord;
    const int64_t total = device->GetTotalSectors();
    if (total > 0 && sector > total - perRecord) return false;
    std::vector<uint8_t> buffer(recordSize);
    if (!device->ReadSectors(buffer.data(), sector, perRecord)) return false;
    const FileRecord record(buffer, false);
    if (!IsSystemFile(record, "$Volume")) return false;
    label = ReadVolumeName(record, kMaxVolumeNameBytes);
    return true;
}

}  // namespace keldrin::ntfs

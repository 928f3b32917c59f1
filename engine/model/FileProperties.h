// The data of one found file or folder, behind every tree node, whatever reader found it.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/model/DataRunList.h"

namespace keldrin {

// Attribute word: the low 16 bits of the Windows attribute word.
inline constexpr uint16_t kAttrReadOnly = 0x0001;
inline constexpr uint16_t kAttrHidden = 0x0002;
inline constexpr uint16_t kAttrSystem = 0x0004;
inline constexpr uint16_t kAttrFolder = 0x0010;
inline constexpr uint16_t kAttrArchive = 0x0020;
inline constexpr uint16_t kAttrEncrypted = 0x0040;  // EFS; never together with compressed
inline constexpr uint16_t kAttrSparse = 0x0200;     // Ext2/3 files with holes
inline constexpr uint16_t kAttrCompressed = 0x0800;

// State bits.
inline constexpr uint8_t kStateDeleted = 0x01;    // "Deleted": the record is no longer in use
inline constexpr uint8_t kStateLost = 0x02;       // "Lost": no path to the root was found
inline constexpr uint8_t kStateCrossLink = 0x04;  // "Cross Link": data overlaps another file's
inline constexpr uint8_t kStateTemp = 0x08;       // "Temp": a folder a reader made itself
inline constexpr uint8_t kStateRawFolder = 0x10;  // the folders of the "Raw Files" branch

// Check states; a folder's follows its children.
inline constexpr uint8_t kUnchecked = 0;
inline constexpr uint8_t kPartlyChecked = 1;
inline constexpr uint8_t kChecked = 2;

// Type code: which fields carry real values. The recovery writer sets only the times whose bit
// is set.
inline constexpr uint32_t kHasName = 0x01;
inline constexpr uint32_t kHasSize = 0x02;
inline constexpr uint32_t kHasAttributes = 0x04;
inline constexpr uint32_t kHasCreationTime = 0x08;
inline constexpr uint32_t kHasModificationTime = 0x10;
inline constexpr uint32_t kHasAccessTime = 0x20;
inline constexpr uint32_t kHasState = 0x40;
inline constexpr uint32_t kTypeCodeFileSystem = 255;  // NTFS, FAT and Ext2/3 files
inline constexpr uint32_t kTypeCodeRaw = 455;         // RAW files: no times

// Which class a properties object is, to recreate it from a saved scan.
enum PropertiesKind : int {
    kPropertiesNtfs = 0,
    kPropertiesFat = 1,
    kPropertiesExt2 = 2,
    kPropertiesRaw = 3,
    kPropertiesMy = 4,
};

class IFileProperties {
  public:
    virtual ~IFileProperties() = default;

    // Name in bytes, without the terminating zero.
    virtual uint32_t GetNameLength() const = 0;
    // UTF-8, zero-terminated; never null.
    virtual const char* GetName() const = 0;
    virtual uint64_t GetFileSize() const = 0;
    virtual uint16_t GetAttributes() const = 0;
    // Times in FILETIME units: 100 ns since 1601.
    virtual uint64_t GetCreationTime() const = 0;
    virtual uint64_t GetModificationTime() const = 0;
    virtual uint64_t GetAccessTime() const = 0;
    virtual uint8_t GetState() const = 0;
    virtual uint8_t GetCheckState() const = 0;
    virtual void SetCheckState(uint8_t state) = 0;
    // A new list built from the stored extents, owned by the caller; null without stored extents.
    virtual std::unique_ptr<IDataRunList> GetDataRunList() const = 0;
    virtual uint32_t GetTypeCode() const = 0;
    // A per-file mark for later steps; readers set it to 0.
    virtual uint32_t GetMark() const = 0;
    virtual uint32_t SetMark(uint32_t value) = 0;
    virtual int GetPropertiesKind() const = 0;
};

// False for null properties.
inline bool IsFolder(const IFileProperties* properties) {
    return properties && (properties->GetAttributes() & kAttrFolder) != 0;
}

}  // namespace keldrin

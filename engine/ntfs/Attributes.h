// One attribute inside a file record and the values of the attribute kinds the reader uses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "engine/ntfs/LeReader.h"

namespace keldrin::ntfs {

enum AttributeType : uint32_t {
    kAttrStandardInformation = 0x10,
    kAttrAttributeList = 0x20,
    kAttrFileName = 0x30,
    kAttrVolumeName = 0x60,
    kAttrData = 0x80,
    kAttrIndexRoot = 0x90,
    kAttrIndexAllocation = 0xA0,
    kAttrEnd = 0xFFFFFFFF,
};

inline constexpr uint16_t kAttrFlagCompressed = 0x0001;
inline constexpr uint16_t kAttrFlagEncrypted = 0x4000;

// Smallest attribute that holds its own header.
inline constexpr size_t kResidentHeaderSize = 24;
inline constexpr size_t kNonResidentHeaderSize = 64;

// A view of one attribute: bytes is the whole attribute (its length), offset where it starts in
// its record. Every accessor stays inside bytes.
class Attribute {
  public:
    Attribute(std::span<const uint8_t> bytes, size_t offset) : bytes_(bytes), offset_(offset) {}

    std::span<const uint8_t> Bytes() const { return bytes_; }
    size_t Offset() const { return offset_; }

    uint32_t Type() const;
    uint32_t Length() const;
    bool IsResident() const;
    uint8_t NameLength() const;
    bool IsNamed() const { return NameLength() != 0; }
    // The stream name as UTF-8; empty when unnamed or when the name does not fit the attribute.
    std::string Name() const;
    uint16_t Flags() const;
    bool IsCompressed() const { return (Flags() & kAttrFlagCompressed) != 0; }
    bool IsEncrypted() const { return (Flags() & kAttrFlagEncrypted) != 0; }
    uint16_t Id() const;

    // Resident attributes.
    uint32_t ValueLength() const;
    uint16_t ValueOffset() const;
    // The value; empty for a non-resident attribute or a value that does not fit the attribute.
    std::span<const uint8_t> Value() const;

    // Non-resident attributes.
    int64_t FirstVcn() const;
    int64_t LastVcn() const;
    uint16_t MappingPairsOffset() const;
    // From the mapping-pairs offset to the end of the attribute; empty for a resident one.
    std::span<const uint8_t> MappingPairs() const;
    uint16_t CompressionUnit() const;
    int64_t AllocatedSize() const;
    int64_t DataSize() const;
    int64_t InitializedSize() const;

  private:
    std::span<const uint8_t> bytes_;
    size_t offset_;
};

// The fixed fields are read inline: a tree build asks for them several times per attribute of
// every record.
inline uint32_t Attribute::Type() const {
    return LeReader(bytes_).U32(0);
}
inline uint32_t Attribute::Length() const {
    return LeReader(bytes_).U32(4);
}
inline bool Attribute::IsResident() const {
    return LeReader(bytes_).U8(8) == 0;
}
inline uint8_t Attribute::NameLength() const {
    return LeReader(bytes_).U8(9);
}
inline uint16_t Attribute::Flags() const {
    return LeReader(bytes_).U16(12);
}
inline uint16_t Attribute::Id() const {
    return LeReader(bytes_).U16(14);
}

inline uint32_t Attribute::ValueLength() const {
    return IsResident() ? LeReader(bytes_).U32(16) : 0;
}
inline uint16_t Attribute::ValueOffset() const {
    return IsResident() ? LeReader(bytes_).U16(20) : 0;
}

inline std::span<const uint8_t> Attribute::Value() const {
    if (!IsResident()) return {};
    return LeReader(bytes_).Sub(ValueOffset(), ValueLength());
}

inline int64_t Attribute::FirstVcn() const {
    return IsResident() ? 0 : LeReader(bytes_).I64(16);
}
inline int64_t Attribute::LastVcn() const {
    return IsResident() ? 0 : LeReader(bytes_).I64(24);
}
inline uint16_t Attribute::MappingPairsOffset() const {
    return IsResident() ? 0 : LeReader(bytes_).U16(32);
}

inline std::span<const uint8_t> Attribute::MappingPairs() const {
    const size_t offset = MappingPairsOffset();
    if (IsResident() || offset > bytes_.size()) return {};
    return bytes_.subspan(offset);
}

inline uint16_t Attribute::CompressionUnit() const {
    return IsResident() ? 0 : LeReader(bytes_).U16(34);
}
inline int64_t Attribute::AllocatedSize() const {
    return IsResident() ? 0 : LeReader(bytes_).I64(40);
}
inline int64_t Attribute::DataSize() const {
    return IsResident() ? 0 : LeReader(bytes_).I64(48);
}
inline int64_t Attribute::InitializedSize() const {
    return IsResident() ? 0 : LeReader(bytes_).I64(56);
}

// Anything that numbers attributes of one type from 0: a single record, or a base record with
// its extension records.
class AttributeSource {
  public:
    virtual ~AttributeSource() = default;
    // The index-th attribute of that type; recordSector, when given, receives the sector of the
    // record holding it (-1 when the source does not know it).
    virtual std::optional<Attribute> FindAttribute(uint32_t type, int index,
                                                   int64_t* recordSector = nullptr) const = 0;
};

// Times are FILETIME values, kept as they are on disk.
struct StandardInformation {
    uint64_t creationTime = 0;
    uint64_t modificationTime = 0;
    uint64_t accessTime = 0;
    uint32_t fileAttributes = 0;  // 0x01 read-only, 0x02 hidden, 0x04 system, 0x20 archive
};

inline constexpr uint32_t kFileAttrReadOnly = 0x01;
inline constexpr uint32_t kFileAttrHidden = 0x02;
inline constexpr uint32_t kFileAttrSystem = 0x04;
inline constexpr uint32_t kFileAttrArchive = 0x20;

enum FileNameSpace : uint8_t {
    kNamePosix = 0,
    kNameWin32 = 1,
    kNameDos = 2,
    kNameWin32AndDos = 3,
    kNameOther = 4,  // any value above 3
};

inline constexpr uint32_t kFileNameFlagFolder = 0x10000000;
inline constexpr size_t kFileNameHeaderSize = 66;

struct FileName {
    uint64_t parentReference = 0;
    int64_t parentRecord = 0;  // the 48-bit record number of parentReference
    uint64_t creationTime = 0;
    uint64_t modificationTime = 0;
    uint64_t accessTime = 0;
    int64_t allocatedSize = 0;
    int64_t dataSize = 0;
    uint32_t flags = 0;
    uint8_t nameLength = 0;  // UTF-16 units
    FileNameSpace nameSpace = kNamePosix;
    std::string name;  // UTF-8, cut at a zero unit
};

// False unless the attribute is resident and its value holds the fields read.
bool ReadStandardInformation(const Attribute& attribute, StandardInformation& out);
bool ReadFileName(const Attribute& attribute, FileName& out);
// A $FILE_NAME value, as found in an attribute or as the key of an index entry.
bool ReadFileNameValue(std::span<const uint8_t> value, FileName& out);

// The characters that no $FILE_NAME may hold: " * / : < > ? \ |. The test stops at a zero unit
// and looks only at the part of the name inside the value.
bool HasValidFileNameCharacters(std::span<const uint8_t> value);

}  // namespace keldrin::ntfs

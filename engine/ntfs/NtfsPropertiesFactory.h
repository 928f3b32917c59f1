// From an MFT record (with its extension records) to the properties of a tree node.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "engine/model/NTFSFileProperties.h"
#include "engine/ntfs/Attributes.h"
#include "engine/ntfs/FileRecordSet.h"
#include "engine/ntfs/NtfsBuildRecord.h"

namespace keldrin::ntfs {

// Parents below this are metadata files or zeroed references, never a real folder.
inline constexpr int64_t kFirstUserParent = 5;

// The fields of a $FILE_NAME the builders read, with the name left undecoded.
struct FileNameView {
    int64_t parent = kUnknownRecord;
    uint64_t creationTime = 0;
    uint64_t modificationTime = 0;
    uint64_t accessTime = 0;
    int64_t dataSize = 0;
    uint32_t flags = 0;
    uint8_t nameSpace = 0;
    std::span<const uint8_t> units;  // the UTF-16LE name, name length units
};
// False unless the attribute is a resident $FILE_NAME whose value holds its header and name.
bool ViewFileName(const std::optional<Attribute>& attribute, FileNameView& out);

// What the conversion learns beside the properties.
struct NtfsRecordFacts {
    // The parent of the second name when 5 or more, else of the first when 5 or more, else of the
    // name shown.
    int64_t parent = kUnknownRecord;
    int64_t dataClusters = 0;  // of the collected runs, sparse ones included
    bool resident = false;     // the data is a value inside a record
};

// The attributes of a record the conversion reads. A record without extension records is
// walked once for all of them; with extension records they are searched across the set.
struct RecordAttributes {
    static constexpr size_t kMaxData = 4;
    std::optional<Attribute> names[2];             // the first two $FILE_NAMEs
    std::optional<Attribute> standardInformation;  // of the base record
    // The unnamed $DATA pieces in order, all in the base record; when there are more, or the set
    // has extension records, the pieces are searched in the set instead.
    std::optional<Attribute> data[kMaxData];
    size_t dataCount = 0;
    bool searchData = false;
};
void GatherAttributes(const FileRecordSet& record, RecordAttributes& out);

// A metadata file: system and hidden in $STANDARD_INFORMATION and a first name of a metadata
// file ("$MFT", ".", "$Quota", ...).
bool IsMetadataFile(const RecordAttributes& attributes);

// Null when the record gives no node: no usable name, or a file the type filter drops. The
// shown name is the second $FILE_NAME when it is Win32, else the first. Times come from
// $STANDARD_INFORMATION when the base record has one, else from the name; the size from the
// unnamed $DATA (its value length, or the data size of its piece at VCN 0), else from the name.
std::unique_ptr<CNTFSFileProperties> CreateNtfsProperties(int64_t recordSector, const FileRecordSet& record,
                                                          NtfsRecordFacts* facts = nullptr);
// The same with the attributes already gathered from record.
std::unique_ptr<CNTFSFileProperties> CreateNtfsProperties(int64_t recordSector, const FileRecordSet& record,
                                                          const RecordAttributes& attributes,
                                                          NtfsRecordFacts* facts = nullptr);

}  // namespace keldrin::ntfs

// The 32-byte FAT directory entry: a view into a buffer, its validity tests, and the names made
// from it (the 8.3 form and the long name assembled from the pieces before it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace keldrin::fat {

inline constexpr size_t kDirEntrySize = 32;
inline constexpr uint8_t kDeletedMark = 0xE5;
inline constexpr uint8_t kEntryAttrLongName = 0x0F;
inline constexpr uint8_t kEntryAttrLabel = 0x08;
inline constexpr uint8_t kEntryAttrDirectory = 0x10;
inline constexpr uint8_t kEntryAttrNeverValid = 0x40;
// Long names longer than this many UTF-8 bytes are cut on a character boundary.
inline constexpr size_t kMaxEntryNameBytes = 519;

// Does not copy: the 32 bytes must outlive the view.
class CFATDirEntry {
  public:
    explicit CFATDirEntry(const uint8_t* bytes) : b_(bytes) {}

    const uint8_t* Bytes() const { return b_; }
    uint8_t FirstByte() const { return b_[0]; }
    uint8_t Attributes() const { return b_[0x0B]; }
    bool IsDeleted() const { return b_[0] == kDeletedMark; }
    bool IsEndMarker() const { return b_[0] == 0x00; }
    bool IsLongNamePiece() const { return b_[0x0B] == kEntryAttrLongName; }
    bool IsDirectory() const { return (b_[0x0B] & kEntryAttrDirectory) != 0; }
    bool IsVolumeLabel() const { return b_[0x0B] == kEntryAttrLabel; }
    bool IsDot() const;
    bool IsDotDot() const;

    uint32_t GetFirstCluster() const;
    uint32_t GetSize() const;
    uint16_t CreationTime() const;
    uint16_t CreationDate() const;
    uint16_t AccessDate() const;
    uint16_t WriteTime() const;
    uint16_t WriteDate() const;

    // With checkClusters, size and first cluster must agree (both zero or both set; a folder's
    // size is not looked at unless its high cluster word is set). Date and time fields are tested
    // when the scan settings ask for it, read at each call.
    bool IsValid(bool checkClusters) const;
    // The 8.3 name: trailing blanks dropped, a deleted mark shown as '#', "NAME.EXT", each part in
    // lower case when the entry's case flags say so; a label is its name and extension parts
    // without the dot, as stored. Bytes outside ASCII are kept as Latin-1 characters.
    std::string FormatShortName(bool asLabel) const;

  private:
    const uint8_t* b_;
};

// The name of the entry that ends a run of long-name pieces (count entries from entries, the
// short entry last, or the short entry alone): the long name when there is one that is not empty
// and holds none of ? * | \ / : " < >, else the short name. False when the run holds no short
// entry.
bool AssembleEntryName(const uint8_t* entries, size_t count, std::string& out);

}  // namespace keldrin::fat

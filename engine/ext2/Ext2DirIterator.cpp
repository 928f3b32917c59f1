#include "engine/ext2/Ext2DirIterator.h"

#include <algorithm>
#include <stdexcept>

#include "engine/ext2/Ext2Errors.h"
#include "engine/ext2/Ext2Le.h"

namespace keldrin::ext2 {
namespace {

// Length of the valid UTF-8 sequence at s[i], 0 when it is not one.
size_t Utf8Sequence(std::string_view s, size_t i) {
    const auto c = static_cast<uint8_t>(s[i]);
    if (c < 0x80) return 1;
    size_t length = 0;
    uint32_t min = 0;
    uint32_t code = 0;
    if ((c & 0xE0) == 0xC0)
        length = 2, min = 0x80, code = c & 0x1F;
    else if ((c & 0xF0) == 0xE0)
        length = 3, min = 0x800, code = c & 0x0F;
    else if ((c & 0xF8) == 0xF0)
        length = 4, min = 0x10000, code = c & 0x07;
    else
        return 0;
    if (i + length > s.size()) return 0;
    for (size_t k = 1; k < length; ++k) {
        const auto d = static_cast<uint8_t>(s[i + k]);
        if ((d & 0xC0) != 0x80) return 0;
        code = (code << 6) | (d & 0x3F);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

template <typename String>
void AppendName(String& out, std::string_view raw) {
    raw = raw.substr(0, std::min(raw.find('\0'), raw.size()));
    // Most names are plain ASCII and go over as they are.
    if (std::all_of(raw.begin(), raw.end(), [](char c) { return static_cast<uint8_t>(c) < 0x80; })) {
        out.append(raw);
        return;
    }
    for (size_t i = 0; i < raw.size();) {
        const size_t n = Utf8Sequence(raw, i);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(raw.substr(i, n));
            i += n;
        }
    }
}

}  // namespace

std::string DecodeEntryName(std::string_view raw) {
    std::string out;
    AppendEntryName(out, raw);
    return out;
}

void AppendEntryName(std::string& out, std::string_view raw) {
    AppendName(out, raw);
}

void AppendEntryName(NameBuffer& out, std::string_view raw) {
    AppendName(out, raw);
}

CExt2DirIterator::CExt2DirIterator(const CExt2FileSystem& fs, const CExt2Inode& directory, bool withDeleted)
    : fs_(fs), mapper_(fs, directory), withDeleted_(withDeleted), blockSize_(fs.BlockSize()) {
    uint64_t size = directory.SizeLow();
    if (size == 0) size = uint64_t{directory.AllocatedSectors()} * 512;
    blockCount_ = (size + blockSize_ - 1) / blockSize_;
    // No directory holds more blocks than the volume has.
    blockCount_ = std::min<uint64_t>({blockCount_, fs.DeviceBlocks(), mapper_.AddressableBlocks()});
    block_ = AllocateGcBytes(blockSize_);
}

bool CExt2DirIterator::LoadNextBlock() {
    haveBlock_ = false;
    while (nextLogical_ < blockCount_) {
        uint64_t run = 1;
        const uint32_t physical = mapper_.Map(nextLogical_, &run);
        if (physical == 0) {
            nextLogical_ += std::max<uint64_t>(run, 1);
            continue;
        }
        currentLogical_ = nextLogical_++;
        try {
            fs_.ReadBlocks(block_.get(), physical, 1);
        } catch (const CExt2ReadSectorError&) {
            continue;
        } catch (const std::out_of_range&) {
            nextLogical_ = blockCount_;
            return false;
        }
        haveBlock_ = true;
        offset_ = 0;
        slackPos_ = slackEnd_ = 0;
        return true;
    }
    return false;
}

bool CExt2DirIterator::NextInSlack(CExt2DirEntry& out) {
    const std::span<const uint8_t> bytes(block_.get(), blockSize_);
    while (slackPos_ + 12 <= slackEnd_) {
        const uint32_t at = slackPos_;
        const uint32_t inode = Le32(bytes, at);
        const uint32_t recordLength = Le16(bytes, at + 4);
        const uint32_t nameLength = Le8(bytes, at + 6);
        const uint32_t type = Le8(bytes, at + 7);
        const uint32_t needed = DirRecordLength(nameLength);
        slackPos_ += 4;
        if (inode == 0 || inode > fs_.InodesCount() || nameLength == 0 || type > 7) continue;
        if (recordLength % 4 != 0 || recordLength < needed || needed > slackEnd_ - at) continue;
        const std::string_view name(reinterpret_cast<const char*>(block_.get()) + at + 8, nameLength);
        if (name.find('\0') != std::string_view::npos || name.find('/') != std::string_view::npos) continue;
        slackPos_ = at + needed;
        out = CExt2DirEntry{inode, static_cast<uint8_t>(type), name, true, false, false};
        return true;
    }
    slackPos_ = slackEnd_ = 0;
    return false;
}

bool CExt2DirIterator::Next(CExt2DirEntry& out) {
    // Every step moves forward by at least 4 bytes or one block, so the walk ends.
    for (;;) {
        if (haveBlock_ && slackEnd_ != 0 && NextInSlack(out)) return true;
        if (!haveBlock_ || offset_ + 8 > blockSize_) {
            if (!LoadNextBlock()) return false;
        }
        const std::span<const uint8_t> bytes(block_.get(), blockSize_);
        const uint32_t inode = Le32(bytes, offset_);
        const uint32_t recordLength = Le16(bytes, offset_ + 4);
        const uint32_t nameLength = Le8(bytes, offset_ + 6);
        const uint8_t type = Le8(bytes, offset_ + 7);
        const uint32_t needed = DirRecordLength(nameLength);
        if (recordLength % 4 != 0 || recordLength < needed || recordLength > blockSize_ - offset_) {
            // A damaged record: nothing after it in this block can be trusted.
            haveBlock_ = false;
            continue;
        }
        const uint32_t at = offset_;
        offset_ += recordLength;
        if (withDeleted_ && recordLength - needed >= 12) {
            slackPos_ = at + needed;
            slackEnd_ = at + recordLength;
        }
        const bool first = currentLogical_ == 0 && at == 0;
        const bool second = currentLogical_ == 0 && validRecords_ == 1;
        if (currentLogical_ == 0) ++validRecords_;
        if (inode == 0 || inode > fs_.InodesCount() || nameLength == 0) continue;
        const std::string_view name(reinterpret_cast<const char*>(block_.get()) + at + 8, nameLength);
        out = CExt2DirEntry{inode, type, name, false, first, second};
        return true;
    }
}

uint32_t FindParentInode(const CExt2FileSystem& fs, const CExt2Inode& directory) {
    try {
        CExt2DirIterator walk(fs, directory);
        CExt2DirEntry entry;
        if (!walk.Next(entry) || !entry.firstInDirectory) return kRootInode;
        if (!walk.Next(entry) || !entry.secondInDirectory || entry.name != "..") return kRootInode;
        return entry.inode;
    } catch (const std::exception&) {
        return kRootInode;
    }
}

}  // namespace keldrin::ext2

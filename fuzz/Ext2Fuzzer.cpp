// Arbitrary superblocks, group tables, inodes and directory blocks over an in-memory device. The
// input is XORed onto a small valid volume (from its superblock on), so zero bytes keep a working
// structure and every other byte breaks one field.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "engine/ext2/Ext2FileSystem.h"
#include "engine/ext2/Ext2TreeBuilder.h"
#include "engine/ext2/Ext2VolumeEntry.h"
#include "engine/model/FileTree.h"

namespace {

using keldrin::IStorageDevice;

constexpr size_t kBlock = 1024;
constexpr size_t kBlocks = 64;

class MemoryDevice final : public IStorageDevice {
  public:
    explicit MemoryDevice(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    bool ReadSectors(void* buffer, int64_t first, int64_t count) override {
        if (first < 0 || count < 0 || first + count > GetTotalSectors()) return false;
        std::memcpy(buffer, bytes_.data() + first * 512, static_cast<size_t>(count) * 512);
        return true;
    }
    int64_t GetTotalSectors() override { return static_cast<int64_t>(bytes_.size() / 512); }
    bool Open() override { return true; }
    bool Close() override { return true; }

  private:
    std::vector<uint8_t> bytes_;
};

void Put(std::vector<uint8_t>& b, size_t at, uint32_t v, int width = 4) {
    for (int i = 0; i < width; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

void Record(std::vector<uint8_t>& b, size_t at, uint32_t inode, uint16_t length, const char* name) {
    Put(b, at, inode);
    Put(b, at + 4, length, 2);
    b[at + 6] = static_cast<uint8_t>(std::strlen(name));
    b[at + 7] = 2;
    std::memcpy(b.data() + at + 8, name, std::strlen(name));
}

std::vector<uint8_t> Template() {
    std::vector<uint8_t> b(kBlock * kBlocks, 0);
    const size_t sb = 1024;
    Put(b, sb + 0x00, 32);       // inodes
    Put(b, sb + 0x04, kBlocks);  // blocks
    Put(b, sb + 0x14, 1);
    Put(b, sb + 0x20, 8192);
    Put(b, sb + 0x28, 32);
    Put(b, sb + 0x38, 0xEF53, 2);
    Put(b, sb + 0x4C, 1);
    Put(b, sb + 0x54, 11);
    Put(b, sb + 0x58, 128, 2);
    Put(b, sb + 0x64, 2);  // large files
    Put(b, 2 * kBlock + 0, 3);
    Put(b, 2 * kBlock + 4, 4);
    Put(b, 2 * kBlock + 8, 5);  // inode table: blocks 5 to 8
    auto inode = [&](uint32_t n, uint16_t mode, uint32_t size, std::initializer_list<uint32_t> blocks) {
        const size_t at = 5 * kBlock + (n - 1) * 128;
        Put(b, at, mode, 2);
        Put(b, at + 4, size);
        Put(b, at + 0x1C, size / 512);
        int i = 0;
        for (uint32_t blk : blocks) Put(b, at + 0x28 + 4 * i++, blk);
    };
    inode(2, 0x41ED, 1024, {10});
    inode(11, 0x41ED, 1024, {11});
    inode(12, 0x81A4, 3000, {12, 0, 14});
    inode(13, 0x81A4, 20 * 1024, {15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27});  // single indirect 27
    for (uint32_t e = 0; e < 8; ++e) Put(b, 27 * kBlock + 4 * e, 28 + e);
    Record(b, 10 * kBlock, 2, 12, ".");
    Record(b, 10 * kBlock + 12, 2, 12, "..");
    Record(b, 10 * kBlock + 24, 11, 20, "lost+found");
    Record(b, 10 * kBlock + 44, 12, 20, "file.txt");
    Record(b, 10 * kBlock + 64, 13, 1024 - 64, "big.bin");
    Record(b, 11 * kBlock, 11, 12, ".");
    Record(b, 11 * kBlock + 12, 2, 1012, "..");
    return b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::vector<uint8_t> base = Template();
    std::vector<uint8_t> image = base;
    for (size_t i = 0; i < size && 1024 + i < image.size(); ++i) image[1024 + i] ^= data[i];
    MemoryDevice device(std::move(image));
    (void)keldrin::ext2::AnalyzeExt2Volume(&device, 0)->GetFileSystemType();
    try {
        const keldrin::ext2::CExt2FileSystem fs(&device, 2);
        keldrin::TreeOwner<keldrin::CFileSystemNode> root(keldrin::ext2::BuildExt2Tree(fs, nullptr, 0));
        // Expand every file's extents, as a copy would.
        std::vector<keldrin::CFileNode*> pending{root.get()};
        while (!pending.empty() && pending.back()) {
            keldrin::CFileNode* node = pending.back();
            pending.pop_back();
            if (auto runs = node->GetProperties()->GetDataRunList()) (void)runs->GetRunCount();
            for (keldrin::CFileNode* c = node->GetFirstChild(); c; c = c->GetNextSibling())
                pending.push_back(c);
        }
    } catch (const std::exception&) {
        // Refused volumes are the expected answer to most inputs.
    }
    return 0;
}

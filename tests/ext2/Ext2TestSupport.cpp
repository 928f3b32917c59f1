#include "tests/ext2/Ext2TestSupport.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace keldrin::ext2::test {

void Put16(Bytes& b, size_t offset, uint16_t v) {
    b[offset] = static_cast<uint8_t>(v);
    b[offset + 1] = static_cast<uint8_t>(v >> 8);
}

void Put32(Bytes& b, size_t offset, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[offset + i] = static_cast<uint8_t>(v >> (8 * i));
}

uint32_t Get32(const Bytes& b, size_t offset) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t{b[offset + i]} << (8 * i);
    return v;
}

bool MemoryDevice::ReadSectors(void* buffer, int64_t first, int64_t count) {
    ++reads;
    if (first < 0 || count < 0 || first + count > GetTotalSectors()) return false;
    if (failFrom >= 0 && first + count > failFrom) return false;
    std::memcpy(buffer, bytes_.data() + first * 512, static_cast<size_t>(count) * 512);
    return true;
}

Bytes MakeSuperBlock() {
    Bytes sb(1024, 0);
    Put32(sb, 0x00, 256);   // inodes
    Put32(sb, 0x04, 8192);  // blocks
    Put32(sb, 0x14, 1);     // first data block
    Put32(sb, 0x18, 0);     // 1 KiB blocks
    Put32(sb, 0x20, 8192);  // blocks per group
    Put32(sb, 0x28, 256);   // inodes per group
    Put16(sb, 0x38, 0xEF53);
    Put32(sb, 0x4C, 1);  // revision 1
    Put32(sb, 0x54, 11);
    Put16(sb, 0x58, 128);
    return sb;
}

bool Shell(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

bool MakeImage(const std::filesystem::path& image, const std::string& options,
               const std::filesystem::path& staging, int sizeKiB) {
    std::string command = "E2FSPROGS_FAKE_TIME=1600000000 mke2fs -q -F " + options;
    if (!staging.empty()) command += " -d '" + staging.string() + "'";
    command += " '" + image.string() + "' " + std::to_string(sizeKiB) + "k";
    return Shell(command);
}

bool Debugfs(const std::filesystem::path& image, const std::vector<std::string>& requests) {
    const std::filesystem::path script = image.string() + ".debugfs";
    {
        std::ofstream out(script);
        for (const std::string& r : requests) out << r << '\n';
    }
    return Shell("debugfs -w -f '" + script.string() + "' '" + image.string() + "'");
}

Bytes ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace keldrin::ext2::test

#include "platform/DriveSpace.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

namespace keldrin::platform {
namespace {

uint64_t Bytes(fsblkcnt_t blocks, unsigned long unit) {
    const unsigned __int128 bytes = static_cast<unsigned __int128>(blocks) * unit;
    return bytes > UINT64_MAX ? UINT64_MAX : static_cast<uint64_t>(bytes);
}

}  // namespace

std::string NearestExistingFolder(const std::string& path) {
    std::string folder = path;
    while (!folder.empty()) {
        struct stat st {};
        if (stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? folder : std::string();
        const size_t slash = folder.find_last_of('/', folder.size() > 1 ? folder.size() - 2 : 0);
        if (slash == std::string::npos) return {};
        folder.resize(slash == 0 ? 1 : slash);
    }
    return {};
}

DriveSpace QueryDriveSpace(const std::string& folder) {
    DriveSpace space;
    const std::string existing = NearestExistingFolder(folder);
    struct statvfs vfs {};
    if (existing.empty() || statvfs(existing.c_str(), &vfs) != 0) return space;
    space.known = true;
    space.readOnly = (vfs.f_flag & ST_RDONLY) != 0;
    space.total = Bytes(vfs.f_blocks, vfs.f_frsize);
    space.free = Bytes(vfs.f_bfree, vfs.f_frsize);
    space.available = Bytes(vfs.f_bavail, vfs.f_frsize);
    return space;
}

}  // namespace keldrin::platform

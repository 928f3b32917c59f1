#include "engine/output/FileStamp.h"

#include <fcntl.h>
#include <sys/stat.h>

#include "engine/model/FileTime.h"
#include "shared/Log.h"

namespace keldrin::output {
namespace {

timespec ToTimespec(uint64_t fileTime) {
    timespec ts{};
    if (fileTime < kFileTimeUnixEpoch) return ts;  // before 1970: the epoch is the nearest we can store
    const uint64_t since = fileTime - kFileTimeUnixEpoch;
    ts.tv_sec = static_cast<time_t>(since / kFileTimeTicksPerSecond);
    ts.tv_nsec = static_cast<long>((since % kFileTimeTicksPerSecond) * 100);
    return ts;
}

}  // namespace

bool ApplyAttributesAndTimes(const std::string& path, const IFileProperties& properties) {
    const uint32_t typeCode = properties.GetTypeCode();
    timespec times[2];
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_nsec = UTIME_OMIT;
    if (typeCode & kHasAccessTime) times[0] = ToTimespec(properties.GetAccessTime());
    if (typeCode & kHasModificationTime) times[1] = ToTimespec(properties.GetModificationTime());
    // Times first: a read-only file could not be reopened for them afterwards.
    bool ok = true;
    if (times[0].tv_nsec != UTIME_OMIT || times[1].tv_nsec != UTIME_OMIT) {
        if (::utimensat(AT_FDCWD, path.c_str(), times, 0) != 0) {
            LogError("Failed to set file time");
            ok = false;
        }
    }
    if (properties.GetAttributes() & kAttrReadOnly) {
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0)
            ::chmod(path.c_str(), st.st_mode & ~(S_IWUSR | S_IWGRP | S_IWOTH));
    }
    return ok;
}

}  // namespace keldrin::output

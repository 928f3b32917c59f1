#include "ui/controller/DestinationCheck.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/DriveSpace.h"

namespace keldrin::ui {
namespace {

size_t CharacterCount(const std::string& text) {
    size_t count = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++count;
    return count;
}

// Creates the probe file and removes it again; a file of that name that was there already is left
// alone and the folder's write permission decides.
bool CanWriteIn(const std::string& folder) {
    std::string probe = folder;
    if (probe.back() != '/') probe += '/';
    probe += kWriteProbeName;
    const int fd = open(probe.c_str(), O_CREAT | O_EXCL | O_RDONLY | O_CLOEXEC, 0600);
    if (fd < 0) return errno == EEXIST && access(folder.c_str(), W_OK) == 0;
    close(fd);
    return unlink(probe.c_str()) == 0;
}

}  // namespace

int CheckDestination(const std::string& typed) {
    if (CharacterCount(typed) > kMaxDestinationLength) return kDestinationTooLong;
    if (typed.empty()) return kDestinationEmpty;
    if (typed.size() < 2) return kDestinationInvalidName;
    std::string path = typed;
    if (path.back() != '/') path += '/';
    if (path.find("/.") != std::string::npos) return kDestinationInvalidName;
    if (path.front() != '/') return kDestinationNotAbsolute;
    if (path.find_first_of("*?:\"<>|") != std::string::npos) return kDestinationInvalidSymbol;
    const std::string existing = platform::NearestExistingFolder(path);
    if (existing.empty()) return kDestinationInvalidName;  // a component is a file
    if (platform::QueryDriveSpace(existing).readOnly) return kDestinationNotWritable;
    if (!CanWriteIn(existing)) return kDestinationNotWritable;
    return kDestinationOk;
}

DestinationMessage MessageForDestination(int code) {
    switch (code) {
        case kDestinationOk:
            return {};
        case kDestinationNoDisk:
            return {"No disk in the drive!", false};
        case kDestinationNoDrive:
            return {"The specific drive does not exist!", false};
        case kDestinationNotFormatted:
            return {"The drive is not formatted!", false};
        case kDestinationInvalidName:
        case kDestinationNotAbsolute:
            return {"Invalid path name!", true};
        case kDestinationRamDisk:
            return {"The drive is a RAM disk!", false};
        case kDestinationNotReady:
            return {"The drive is not ready!", false};
        case kDestinationNotWritable:
            return {"The drive is not writable!", false};
        case kDestinationInvalidParameter:
            return {"Invalid parameter!", true};
        case kDestinationInvalidSymbol:
            return {"Invalid symbol!", true};
        case kDestinationTooLong:
            return {"Path too long!", false};
        case kDestinationEmpty:
            return {"Please select a folder to save the recovered files!", false};
        default:
            return {"Unknown error!", true};
    }
}

}  // namespace keldrin::ui

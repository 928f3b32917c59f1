#include "engine/ntfs/SystemFiles.h"

#include <string>
#include <utility>

namespace keldrin::ntfs {
namespace {

struct SystemName {
    std::string_view name;
    int code;
};

constexpr SystemName kSystemNames[] = {
    {"$MFT", 0},     {"$MFTMirr", 1}, {"$LogFile", 2}, {"$Volume", 3},  {"$AttrDef", 4},
    {".", 5},        {"$Bitmap", 6},  {"$Boot", 7},    {"$BadClus", 8}, {"$Secure", 9},
    {"$UpCase", 10}, {"$Extend", 11}, {"$Quota", 32},  {"$ObjId", 33},  {"$Reparse", 34},
};

bool HasSystemAndHidden(const FileRecord& record) {
    const auto si = record.FindAttribute(kAttrStandardInformation, 0);
    StandardInformation info;
    if (!si || !ReadStandardInformation(*si, info)) return false;
    const uint32_t both = kFileAttrSystem | kFileAttrHidden;
    return (info.fileAttributes & both) == both;
}

bool FirstName(const FileRecord& record, std::string& name) {
    const auto attribute = record.FindAttribute(kAttrFileName, 0);
    FileName fn;
    if (!attribute || !ReadFileName(*attribute, fn)) return false;
    name = std::move(fn.name);
    return true;
}

}  // namespace

int SystemFileCodeOf(std::string_view name) {
    for (const SystemName& s : kSystemNames) {
        if (s.name == name) return s.code;
    }
    return -1;
}

bool IsSystemFile(const FileRecord& record, std::string_view name) {
    if (!record.IsValid() || !record.IsInUse() || !HasSystemAndHidden(record)) return false;
    std::string first;
    return FirstName(record, first) && first == name;
}

int GetSystemFileCode(const FileRecord& record) {
    if (!record.IsValid() || record.IsExtension() || !HasSystemAndHidden(record)) return -1;
    std::string first;
    return FirstName(record, first) ? SystemFileCodeOf(first) : -1;
}

}  // namespace keldrin::ntfs

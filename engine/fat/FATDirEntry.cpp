#include "engine/fat/FATDirEntry.h"

#include <cstring>

#include "engine/fat/FatBytes.h"
#include "engine/model/Utf8Cut.h"
#include "platform/Utf16.h"
#include "shared/ScanSettings.h"

namespace keldrin::fat {
namespace {

bool DateUsable(uint16_t date) {
    if (date == 0) return true;
    const int day = date & 0x1F;
    const int month = (date >> 5) & 0x0F;
    return month >= 1 && month <= 12 && day >= 1;
}

bool TimeUsable(uint16_t time) {
    if (time == 0) return true;
    return (time >> 11) < 24 && ((time >> 5) & 0x3F) < 60 && (time & 0x1F) < 30;
}

bool ForbiddenNameByte(uint8_t c) {
    if (c <= 0x19 || c == 0xFF) return true;
    return std::strchr("\"*/:<>?\\|", c) != nullptr;
}

// Latin-1 stands for the OEM code page: every byte has a character, and the result is UTF-8.
void AppendLatin1(std::string& out, uint8_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else {
        platform::AppendUtf8(out, c);
    }
}

constexpr uint8_t kLowerCaseBase = 0x08;
constexpr uint8_t kLowerCaseExtension = 0x10;

size_t TrimmedLength(const uint8_t* bytes, size_t size) {
    while (size > 0 && bytes[size - 1] == ' ') --size;
    return size;
}

}  // namespace

bool CFATDirEntry::IsDot() const {
    return std::memcmp(b_, ".          ", 11) == 0 && IsDirectory();
}

bool CFATDirEntry::IsDotDot() const {
    return std::memcmp(b_, "..         ", 11) == 0 && IsDirectory();
}

uint32_t CFATDirEntry::GetFirstCluster() const {
    return (uint32_t{Le16(b_ + 0x14)} << 16) | Le16(b_ + 0x1A);
}
uint32_t CFATDirEntry::GetSize() const {
    return Le32(b_ + 0x1C);
}
uint16_t CFATDirEntry::CreationTime() const {
    return Le16(b_ + 0x0E);
}
uint16_t CFATDirEntry::CreationDate() const {
    return Le16(b_ + 0x10);
}
uint16_t CFATDirEntry::AccessDate() const {
    return Le16(b_ + 0x12);
}
uint16_t CFATDirEntry::WriteTime() const {
    return Le16(b_ + 0x16);
}
uint16_t CFATDirEntry::WriteDate() const {
    return Le16(b_ + 0x18);
}

bool CFATDirEntry::IsValid(bool checkClusters) const {
    if (IsLongNamePiece()) return true;
    if (checkClusters) {
        const bool noSize = GetSize() == 0;
        const bool noCluster = GetFirstCluster() == 0;
        if (IsDirectory()) {
            if (!noSize && Le16(b_ + 0x14) != 0) return false;
        } else if (noSize != noCluster) {
            return false;
        }
    }
    const ScanSettings& settings = GetScanSettings();
    if (settings.fatCheckDate &&
        !(DateUsable(CreationDate()) && DateUsable(WriteDate()) && DateUsable(AccessDate())))
        return false;
    if (settings.fatCheckTime && !(TimeUsable(CreationTime()) && TimeUsable(WriteTime()))) return false;
    if (Attributes() & kEntryAttrNeverValid) return false;
    if (IsVolumeLabel()) return true;
    if (b_[0] == ' ') return false;
    for (size_t i = 0; i < 11; ++i)
        if (ForbiddenNameByte(b_[i])) return false;
    return true;
}

std::string CFATDirEntry::FormatShortName(bool asLabel) const {
    std::string out;
    out.reserve(12);
    // Names written in lower case keep that in two flag bits instead of a long name.
    const uint8_t caseFlags = asLabel ? 0 : b_[0x0C];
    auto lower = [](uint8_t c, bool on) -> uint8_t {
        return (on && c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c;
    };
    const size_t nameLength = TrimmedLength(b_, 8);
    for (size_t i = 0; i < nameLength; ++i) {
        const uint8_t c = (i == 0 && b_[0] == kDeletedMark) ? '#' : b_[i];
        AppendLatin1(out, lower(c, caseFlags & kLowerCaseBase));
    }
    const size_t extLength = TrimmedLength(b_ + 8, 3);
    if (extLength == 0) return out;
    if (!asLabel) out.push_back('.');
    for (size_t i = 0; i < extLength; ++i)
        AppendLatin1(out, lower(b_[8 + i], caseFlags & kLowerCaseExtension));
    return out;
}

bool AssembleEntryName(const uint8_t* entries, size_t count, std::string& out) {
    out.clear();
    if (!entries) return false;
    // The pieces stand last part first, so each one goes in front of what was collected.
    std::string longName;
    bool hasLong = false;
    static constexpr size_t kUnitOffsets[13] = {1, 3, 5, 7, 9, 14, 16, 18, 20, 22, 24, 28, 30};
    for (size_t i = 0; i < count; ++i) {
        const CFATDirEntry entry(entries + i * kDirEntrySize);
        if (entry.IsLongNamePiece()) {
            uint8_t units[26];
            size_t used = 0;
            for (size_t u = 0; u < 13; ++u) {
                const uint8_t* p = entry.Bytes() + kUnitOffsets[u];
                if (p[0] == 0 && p[1] == 0) break;
                units[used * 2] = p[0];
                units[used * 2 + 1] = p[1];
                ++used;
            }
            longName.insert(0, platform::Utf16LeToUtf8(units, used));
            hasLong = true;
            continue;
        }
        if (hasLong && !longName.empty() && longName.find_first_of("?*|\\/:\"<>") == std::string::npos) {
            out = longName.substr(0, Utf8PrefixLength(longName, kMaxEntryNameBytes));
        } else {
            out = entry.FormatShortName(false);
        }
        return true;
    }
    return false;
}

}  // namespace keldrin::fat

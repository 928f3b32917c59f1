#include "engine/ntfs/VolumeName.h"

#include "platform/Utf16.h"

namespace keldrin::ntfs {

std::string_view Utf8Prefix(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    size_t end = maxBytes;
    // Back off continuation bytes so the cut falls before the lead byte of a character.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

std::string ReadVolumeName(const FileRecord& record, size_t maxBytes) {
    const auto attribute = record.FindAttribute(kAttrVolumeName, 0);
    if (!attribute) return {};
    const auto value = attribute->Value();
    size_t units = 0;
    while (units < value.size() / 2 && (value[2 * units] != 0 || value[2 * units + 1] != 0)) ++units;
    const std::string label = platform::Utf16LeToUtf8(value.data(), units);
    return std::string(Utf8Prefix(label, maxBytes));
}

}  // namespace keldrin::ntfs

#include "engine/ntfs/Attributes.h"

#include "engine/ntfs/LeReader.h"
#include "platform/Utf16.h"

namespace keldrin::ntfs {
namespace {

// UTF-8 of count UTF-16 units, cut at the first zero unit: names become C strings downstream.
std::string NameToUtf8(std::span<const uint8_t> units, size_t count) {
    size_t n = 0;
    while (n < count && (units[2 * n] != 0 || units[2 * n + 1] != 0)) ++n;
    return platform::Utf16LeToUtf8(units.data(), n);
}

}  // namespace

std::string Attribute::Name() const {
    const LeReader r(bytes_);
    const size_t count = NameLength();
    const auto units = r.Sub(r.U16(10), 2 * count);
    if (count == 0 || units.empty()) return {};
    return NameToUtf8(units, count);
}

bool ReadStandardInformation(const Attribute& attribute, StandardInformation& out) {
    if (attribute.Type() != kAttrStandardInformation) return false;
    const LeReader r(attribute.Value());
    if (!r.Has(0, 36)) return false;
    out.creationTime = r.U64(0);
    out.modificationTime = r.U64(8);
    out.accessTime = r.U64(24);
    out.fileAttributes = r.U32(32);
    return true;
}

bool ReadFileName(const Attribute& attribute, FileName& out) {
    if (attribute.Type() != kAttrFileName) return false;
    return ReadFileNameValue(attribute.Value(), out);
}

bool ReadFileNameValue(std::span<const uint8_t> value, FileName& out) {
    const LeReader r(value);
    if (!r.Has(0, kFileNameHeaderSize)) return false;
    const uint8_t length = r.U8(64);
    const auto units = r.Sub(kFileNameHeaderSize, 2 * size_t{length});
    if (length != 0 && units.empty()) return false;
    out.parentReference = r.U64(0);
    out.parentRecord = RecordNumberOf(out.parentReference);
    out.creationTime = r.U64(8);
    out.modificationTime = r.U64(16);
    out.accessTime = r.U64(32);
    out.allocatedSize = r.I64(40);
    out.dataSize = r.I64(48);
    out.flags = r.U32(56);
    out.nameLength = length;
    const uint8_t space = r.U8(65);
    out.nameSpace = space > kNameWin32AndDos ? kNameOther : static_cast<FileNameSpace>(space);
    out.name = length == 0 ? std::string() : NameToUtf8(units, length);
    return true;
}

bool HasValidFileNameCharacters(std::span<const uint8_t> value) {
    const LeReader r(value);
    if (!r.Has(0, kFileNameHeaderSize)) return true;
    const size_t length = r.U8(64);
    for (size_t i = 0; i < length && r.Has(kFileNameHeaderSize + 2 * i, 2); ++i) {
        const uint16_t c = r.U16(kFileNameHeaderSize + 2 * i);
        if (c == 0) break;
        switch (c) {
            case '"':
            case '*':
            case '/':
            case ':':
            case '<':
            case '>':
            case '?':
            case '\\':
            case '|':
                return false;
            default:
                break;
        }
    }
    return true;
}

}  // namespace keldrin::ntfs

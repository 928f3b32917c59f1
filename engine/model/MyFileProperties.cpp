#include "engine/model/MyFileProperties.h"

#include <cstring>

#include "engine/model/Utf8Cut.h"

namespace keldrin {

void MyFileRecord::SetName(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    nameLength = static_cast<uint32_t>(Utf8PrefixLength(text, kNameCapacity - 1));
    std::memmove(name, text.data(), nameLength);
    std::memset(name + nameLength, 0, kNameCapacity - nameLength);
}

void CMyFileProperties::SetRecord(const MyFileRecord& record) {
    record_ = record;
    // The length must agree with the zero-terminated name, whatever the caller put there.
    record_.SetName(std::string_view(record.name, strnlen(record.name, MyFileRecord::kNameCapacity)));
}

uint32_t CMyFileProperties::SetMark(uint32_t value) {
    const uint32_t previous = record_.mark;
    record_.mark = value;
    return previous;
}

}  // namespace keldrin

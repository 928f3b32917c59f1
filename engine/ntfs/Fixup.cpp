#include "engine/ntfs/Fixup.h"

#include "engine/ntfs/LeReader.h"

namespace keldrin::ntfs {
namespace {

struct FixupLayout {
    size_t arrayOffset = 0;  // the sequence number, followed by one entry per stride
    size_t strides = 0;
};

bool Layout(std::span<const uint8_t> record, FixupLayout& out) {
    const LeReader r(record);
    if (!r.Has(0, 8)) return false;
    const size_t offset = r.U16(4);
    const size_t count = r.U16(6);
    if (count < 2) return false;
    if (!r.Has(offset, 2 * count)) return false;
    if ((count - 1) > record.size() / kFixupStride) return false;
    out = {offset, count - 1};
    return true;
}

}  // namespace

bool CheckFixup(std::span<const uint8_t> record) {
    FixupLayout l;
    if (!Layout(record, l)) return false;
    const LeReader r(record);
    const uint16_t usn = r.U16(l.arrayOffset);
    for (size_t i = 0; i < l.strides; ++i) {
        if (r.U16(i * kFixupStride + kFixupStride - 2) != usn) return false;
    }
    return true;
}

bool ApplyFixup(std::span<uint8_t> record) {
    if (!CheckFixup(record)) return false;
    FixupLayout l;
    Layout(record, l);
    for (size_t i = 0; i < l.strides; ++i) {
        const size_t end = i * kFixupStride + kFixupStride - 2;
        const size_t entry = l.arrayOffset + 2 + 2 * i;
        record[end] = record[entry];
        record[end + 1] = record[entry + 1];
    }
    return true;
}

bool RevertFixup(std::span<uint8_t> record) {
    FixupLayout l;
    if (!Layout(record, l)) return false;
    for (size_t i = 0; i < l.strides; ++i) {
        const size_t end = i * kFixupStride + kFixupStride - 2;
        const size_t entry = l.arrayOffset + 2 + 2 * i;
        record[entry] = record[end];
        record[entry + 1] = record[end + 1];
        record[end] = record[l.arrayOffset];
        record[end + 1] = record[l.arrayOffset + 1];
    }
    return true;
}

}  // namespace keldrin::ntfs

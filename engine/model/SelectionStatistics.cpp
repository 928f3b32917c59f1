#include "engine/model/SelectionStatistics.h"

namespace keldrin {
namespace {

// Counters that went stale must not wrap around.
template <class T>
T LessOrZero(T value, T minus) {
    return value > minus ? value - minus : 0;
}

}  // namespace

void CountFile(SelectionStatistics& statistics, const IFileProperties* properties) {
    if (!properties || IsFolder(properties)) return;
    const bool checked = properties->GetCheckState() == kChecked;
    const uint16_t attributes = properties->GetAttributes();
    const bool encrypted = (attributes & kAttrEncrypted) != 0;
    const bool compressed = !encrypted && (attributes & kAttrCompressed) != 0;
    const uint64_t size = properties->GetFileSize();

    ++statistics.files;
    statistics.totalSize += size;
    if (compressed) ++statistics.compressedFiles;
    if (encrypted) ++statistics.encryptedFiles;
    if (!checked) return;
    ++statistics.checkedFiles;
    statistics.checkedSize += size;
    if (compressed) ++statistics.checkedCompressedFiles;
    if (encrypted) ++statistics.checkedEncryptedFiles;
}

void ApplyCheckChange(SelectionStatistics& s, const SelectionStatistics& subtree, bool checking) {
    if (checking) {
        s.checkedFiles += subtree.files - subtree.checkedFiles;
        s.checkedSize += subtree.totalSize - subtree.checkedSize;
        s.checkedCompressedFiles += subtree.compressedFiles - subtree.checkedCompressedFiles;
        s.checkedEncryptedFiles += subtree.encryptedFiles - subtree.checkedEncryptedFiles;
    } else {
        s.checkedFiles = LessOrZero(s.checkedFiles, subtree.checkedFiles);
        s.checkedSize = LessOrZero(s.checkedSize, subtree.checkedSize);
        s.checkedCompressedFiles = LessOrZero(s.checkedCompressedFiles, subtree.checkedCompressedFiles);
        s.checkedEncryptedFiles = LessOrZero(s.checkedEncryptedFiles, subtree.checkedEncryptedFiles);
    }
}

}  // namespace keldrin

// The update-sequence fix-up of multi-sector records (FILE, INDX, RSTR, RCRD): the last two bytes
// of every 512-byte stride hold the update sequence number on disk, and the real bytes are kept in
// the update-sequence array.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace keldrin::ntfs {

inline constexpr size_t kFixupStride = 512;

// Every protected stride ends with the update sequence number. False when the array or the
// strides it names do not fit the buffer, or when the array protects no stride (count below 2).
bool CheckFixup(std::span<const uint8_t> record);
// Puts the real bytes back at the stride ends; does nothing and answers false unless CheckFixup.
bool ApplyFixup(std::span<uint8_t> record);
// Undoes ApplyFixup: the stride ends go back into the array and the sequence number to the ends.
bool RevertFixup(std::span<uint8_t> record);

// Applies the fix-up for one scope when it matches and reverts it on leaving, so a test leaves
// the caller's buffer as it found it.
class ScopedFixup {
  public:
    explicit ScopedFixup(std::span<uint8_t> record) : record_(record), applied_(ApplyFixup(record)) {}
    ~ScopedFixup() {
        if (applied_) RevertFixup(record_);
    }
    ScopedFixup(const ScopedFixup&) = delete;
    ScopedFixup& operator=(const ScopedFixup&) = delete;

    bool Applied() const { return applied_; }

  private:
    std::span<uint8_t> record_;
    bool applied_;
};

}  // namespace keldrin::ntfs

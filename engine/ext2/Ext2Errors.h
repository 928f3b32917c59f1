// The errors of the Ext2/3 reader. They never leave engine/ext2: the entry points catch them and
// answer null or an unrecognised volume.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace keldrin::ext2 {

// A sector read failed (the buffer was zero-filled first).
class CExt2ReadSectorError : public std::runtime_error {
  public:
    CExt2ReadSectorError() : std::runtime_error("CExt2ReadSectorError") {}
};

// The superblock fails its test, or the device is smaller than the file system.
class CExt2BadSuperBlock : public std::runtime_error {
  public:
    CExt2BadSuperBlock() : std::runtime_error("CExt2BadSuperBlock") {}
};

// No copy of the group descriptor table is usable.
class CExt2BadGroupDescriptor : public std::runtime_error {
  public:
    CExt2BadGroupDescriptor() : std::runtime_error("CExt2BadGroupDescriptor") {}
};

// A directory walk was asked for an entry while it holds no data.
class CBadDir : public std::runtime_error {
  public:
    CBadDir() : std::runtime_error("CBadDir") {}
};

// A character conversion failed.
class XCharError : public std::runtime_error {
  public:
    explicit XCharError(int code) : std::runtime_error("XCharError:" + std::to_string(code)), code_(code) {}
    int Code() const { return code_; }

  private:
    int code_;
};

// A processor fault by its Windows exception code. Nothing on Linux raises it: every on-disk read
// is bounds-checked instead of relying on a fault translator. It stays for callers that report
// faults by these names.
class CStructuredException : public std::exception {
  public:
    explicit CStructuredException(uint32_t code, uintptr_t address = 0) : code_(code), address_(address) {}
    const char* what() const noexcept override;
    uint32_t Code() const { return code_; }
    uintptr_t Address() const { return address_; }

  private:
    uint32_t code_;
    uintptr_t address_;
};

// "EXCEPTION_ACCESS_VIOLATION" and the like; "EXCEPTION_UNKNOWN" for any other code.
const char* StructuredExceptionName(uint32_t code);

}  // namespace keldrin::ext2

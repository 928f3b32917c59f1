// How long tree operations report progress and learn of a cancel: the tree builders through
// IDIRBuildCallback, the recovery writer through IFileRecoverCallback. Both are polled from the
// worker thread; every call answers the IsCancelled value, so a worker may test any result.
#pragma once

#include <cstdint>

namespace keldrin {

// The IsCancelled answers.
inline constexpr int kGoOn = 0;
inline constexpr int kCancelled = -1;

class IDIRBuildCallback {
  public:
    virtual ~IDIRBuildCallback() = default;

    // Shows the phase text (for example "NTFS:Reading files") with a range of 0..total and the
    // position at 0.
    virtual int BeginPhase(const char* text, int64_t total) = 0;
    virtual int Step(int64_t count) = 0;
    virtual int SetPosition(int64_t position) = 0;
    // Moves the position to the end of the range.
    virtual int Finish() = 0;
    virtual int IsCancelled() = 0;
};

// For builds nobody watches: never cancels.
class CNullDIRBuildCallback final : public IDIRBuildCallback {
  public:
    int BeginPhase(const char*, int64_t) override { return kGoOn; }
    int Step(int64_t) override { return kGoOn; }
    int SetPosition(int64_t) override { return kGoOn; }
    int Finish() override { return kGoOn; }
    int IsCancelled() override { return kGoOn; }
};

// The recovery dialog implements this; the writer never deletes it, hence the protected destructor.
class IFileRecoverCallback {
  public:
    virtual int Begin(uint32_t fileCount, uint64_t totalBytes) = 0;
    virtual int AddFiles(uint32_t count) = 0;
    virtual int AddBytes(uint64_t bytes) = 0;
    // Takes bytes off the running total again (the rounding of a file's last piece).
    virtual int SubtractBytes(uint32_t bytes) = 0;
    virtual int SetCurrentFile(const char* name) = 0;
    // Handles pending window messages first.
    virtual int IsCancelled() = 0;

  protected:
    ~IFileRecoverCallback() = default;
};

}  // namespace keldrin

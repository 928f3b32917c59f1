// The English texts the controllers hand to the host; the host translates them.
#pragma once

namespace keldrin::ui::msg {

inline constexpr const char* kSelectPartition = "Select a partition to recover please.";
inline constexpr const char* kNoFilesFound = "No files found, please go to Complete Recovery mode!";
inline constexpr const char* kCompleteRecoveryTip =
    "If the files are not found or corrupted in this mode, please go to \"Complete Recovery\"!";
inline constexpr const char* kImageNotReadable = "The disk image cannot be read.";

}  // namespace keldrin::ui::msg

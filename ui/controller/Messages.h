// The English texts the controllers hand to the host; the host translates them.
#pragma once

namespace keldrin::ui::msg {

inline constexpr const char* kSelectPartition = "Select a partition to recover please.";
inline constexpr const char* kNoFilesFound = "No files found, please go to Complete Recovery mode!";
inline constexpr const char* kCompleteRecoveryTip =
    "If the files are not found or corrupted in this mode, please go to \"Complete Recovery\"!";
inline constexpr const char* kImageNotReadable = "The disk image cannot be read.";
inline constexpr const char* kQuitSearching = "Are you sure to quit searching?";
inline constexpr const char* kSelectFilesToSave = "Select files to save, please.";
inline constexpr const char* kSameDrive =
    "CAUTION! We do NOT recommend you to save the recovered files \nto the same drive because this can "
    "reduce the chance of \nsuccessful recovery.\n\nAre you sure to recover files to the same drive?";
inline constexpr const char* kFreeSpaceShort = "The free space is not enough, please select other drive.";
inline constexpr const char* kFreeSpaceShortOneFile =
    "The free space is not enough, please select another drive.";
inline constexpr const char* kSelectFileToRecover = "Please select a file to recover!";
inline constexpr const char* kTooManyFiles =
    "Please wait a minute for there are too many files in the directory you selected.";

}  // namespace keldrin::ui::msg

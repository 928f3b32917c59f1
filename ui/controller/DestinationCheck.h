// The checks of a destination folder typed or picked on the saving page, each refusal with its code
// and message. Paths are absolute POSIX paths; the folder itself may not exist yet (the writer
// creates it).
#pragma once

#include <string>

namespace keldrin::ui {

enum DestinationCode : int {
    kDestinationOk = 0,
    kDestinationNoDisk = 1,
    kDestinationNoDrive = 2,
    kDestinationNotFormatted = 3,
    kDestinationInvalidName = 4,
    kDestinationRamDisk = 5,
    kDestinationNotReady = 6,
    kDestinationNotWritable = 7,
    kDestinationNotAbsolute = 8,
    kDestinationInvalidParameter = 9,
    kDestinationInvalidSymbol = 10,
    kDestinationTooLong = 11,
    kDestinationEmpty = 12,
};

inline constexpr size_t kMaxDestinationLength = 245;  // characters, as typed
inline constexpr const char* kWriteProbeName = "!t_1_e_s_2_3_t.tst";

// Length (over 245 characters: too long; empty; one character), a component starting with a dot,
// a relative path, the symbols * ? : " < > |, a path through a file, a read-only file system and,
// last, a probe file created and removed in the folder or, when it does not exist yet, in its
// nearest existing ancestor.
int CheckDestination(const std::string& path);

struct DestinationMessage {
    const char* text = nullptr;  // null for kDestinationOk
    bool warning = false;
};
DestinationMessage MessageForDestination(int code);

}  // namespace keldrin::ui

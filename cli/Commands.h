// The subcommands of keldrin-cli. Each returns the process exit status:
// 0 success, 1 usage error, 2 the source cannot be read.
#pragma once

#include <string>

namespace keldrin::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitUnreadable = 2;

struct InfoOptions {
    std::string source;
};

int RunInfo(const InfoOptions& options);

}  // namespace keldrin::cli

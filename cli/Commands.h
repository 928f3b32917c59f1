// The subcommands of keldrin-cli. Each file adds one subcommand to the parser and returns how to run
// it; the run returns the process exit status.
#pragma once

#include <functional>

namespace CLI {
class App;
}

namespace keldrin::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 1;
inline constexpr int kExitUnreadable = 2;
inline constexpr int kExitPartly = 3;  // some of the files could not be recovered

struct Command {
    CLI::App* parser = nullptr;
    std::function<int()> run;
};

Command AddInfoCommand(CLI::App& app);
Command AddLsCommand(CLI::App& app);
Command AddRecoverCommand(CLI::App& app);

}  // namespace keldrin::cli

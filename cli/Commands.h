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

struct Command {
    CLI::App* parser = nullptr;
    std::function<int()> run;
};

Command AddInfoCommand(CLI::App& app);
Command AddLsCommand(CLI::App& app);

}  // namespace keldrin::cli

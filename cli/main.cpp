// keldrin-cli: the command line of the recovery engine. Sources are only ever read.
#include <CLI/CLI.hpp>
#include <iostream>
#include <vector>

#include "cli/Commands.h"
#include "cli/DevicesCommand.h"
#include "cli/ScanCommands.h"
#include "platform/DataFolder.h"
#include "shared/Log.h"

int main(int argc, char** argv) {
    using namespace keldrin::cli;
    CLI::App app{
        "Keldrin recovers files from disks, partitions and disk images. Sources are opened read-only.",
        "keldrin-cli"};
    app.set_version_flag("--version", "keldrin-cli " KELDRIN_VERSION);
    bool trace = false;
    app.add_flag("--trace", trace, "Write the detailed log (Ostrevan.log in the data folder)");
    app.require_subcommand(1);

    const std::vector<Command> commands = {
        AddInfoCommand(app),    AddLsCommand(app),    AddRecoverCommand(app),
        AddDevicesCommand(app), AddCarveCommand(app), AddScanCommand(app),
    };

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::cout << app.help();
        return kExitOk;
    } catch (const CLI::CallForAllHelp&) {
        std::cout << app.help("", CLI::AppFormatMode::All);
        return kExitOk;
    } catch (const CLI::CallForVersion&) {
        std::cout << "keldrin-cli " KELDRIN_VERSION "\n";
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        std::cerr << "keldrin-cli: " << e.what() << " (see keldrin-cli --help)\n";
        return kExitUsage;
    }

    const std::string logPath = keldrin::platform::DataFile("Ostrevan.log");
    InitLog(logPath.c_str(), trace ? LOGLEVEL_TRACE : LOGLEVEL_RELEASE, LOGTYPE_NORMAL);

    for (const Command& command : commands) {
        if (command.parser->parsed()) return command.run();
    }
    return kExitUsage;
}

// lirvane-deploy: puts Lirvane into a folder that a web server publishes (see its manual page).
#include "cli/common/interruption.h"
#include "cli/common/options.h"
#include "cli/common/standard_output.h"
#include "cli/deploy/arguments.h"
#include "cli/deploy/launcher.h"
#include "cli/deploy/menu_entries.h"

#include <algorithm>
#include <cstdio>
#include <iostream>

namespace {

int Complain(const std::string& message, int exitStatus) {
    std::cerr << "lirvane-deploy : " << message << std::endl;
    return exitStatus;
}

int Run(const deploy::DeployArguments& asked) {
    if (asked.help) {
        std::fputs(deploy::DeployUsage, stdout);
        return 0;
    }
    if (asked.removeLauncher) {
        deploy::RemoveLauncher(*asked.removeLauncher);
        return 0;
    }
    if (asked.removeFileManager) {
        deploy::RemoveMenuEntries(*asked.removeFileManager);
        return 0;
    }
    return deploy::Deploy(asked.deploy);
}

} // namespace

int main(int argc, char** argv) {
    cli::NoteInterruptions();
    int status = 0;
    try {
        status = Run(deploy::ParseDeployArguments({argv + std::min(argc, 1), argv + argc}));
    } catch (const cli::UsageError& error) {
        Complain(error.what(), 2);
        std::cerr << "Essayez « lirvane-deploy --help »." << std::endl;
        return 2;
    } catch (const cli::Interrupted& interrupted) {
        cli::EndAsInterrupted(interrupted);
    } catch (const std::exception& error) {
        return Complain(std::string(error.what()) + ".", 1);
    }
    if (const auto failure = cli::StandardOutputFailure())
        return Complain(*failure + ".", 1);
    return status;
}

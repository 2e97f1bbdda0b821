#pragma once

#include "cli/deploy/deploy.h"

#include <optional>
#include <string>
#include <vector>

namespace deploy {

// What lirvane-deploy is asked to do: one of these.
struct DeployArguments {
    bool help = false;
    std::optional<std::string> removeLauncher;
    std::optional<std::string> removeFileManager;
    DeployRequest deploy;
};

// Reads the arguments after the command's name, by the commands' conventions (options.h).
// Throws cli::UsageError.
DeployArguments ParseDeployArguments(const std::vector<std::string>& arguments);

// What --help prints.
extern const char DeployUsage[];

} // namespace deploy

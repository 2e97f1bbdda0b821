#pragma once

#include <optional>
#include <string>

namespace deploy {

struct DeployRequest {
    // As given on the command line.
    std::string folder;
    std::optional<std::string> baseAddress;
    bool launcher = false;
    bool fileManager = false;
    bool check = true;
};

// Installs FOLDER/lirvane, writes FOLDER/PARAM.ini with the base address unless one exists, adds
// the launcher and the file managers' entries, all together or nothing, then checks the address
// that PARAM.ini holds. 0 when deployed (and the address proven), 3 when deployed but the address
// does not serve the folder. Throws Refusal having changed nothing; Interrupted having changed
// nothing, or once the folder is deployed.
int Deploy(const DeployRequest& request);

} // namespace deploy

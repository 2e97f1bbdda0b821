// lirvane-deploy: puts Lirvane into a folder that a web server publishes (see its manual page).
#include "cli/deploy.h"
#include "cli/deploy_file_manager.h"
#include "cli/deploy_interruption.h"
#include "cli/deploy_launcher.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

int Usage(const std::string& command) {
    std::cerr << "Usage: " << command
              << " FOLDER [BASE-ADDRESS] [--launcher] [--file-manager] [--no-check]\n"
              << "       " << command << " --remove-launcher FOLDER\n"
              << "       " << command << " --remove-file-manager FOLDER" << std::endl;
    return 2;
}

int Run(const std::string& command, const std::vector<std::string>& arguments) {
    if (!arguments.empty() &&
        (arguments[0] == "--remove-launcher" || arguments[0] == "--remove-file-manager")) {
        if (arguments.size() != 2) {
            return Usage(command);
        }
        if (arguments[0] == "--remove-launcher") {
            deploy::RemoveLauncher(arguments[1]);
        } else {
            deploy::RemoveFileManagerEntries(arguments[1]);
        }
        return 0;
    }
    deploy::DeployRequest request;
    std::vector<std::string> operands;
    for (const std::string& argument : arguments) {
        if (argument == "--launcher") {
            request.launcher = true;
        } else if (argument == "--file-manager") {
            request.fileManager = true;
        } else if (argument == "--no-check") {
            request.check = false;
        } else if (argument.starts_with('-')) {
            return Usage(command);
        } else {
            operands.push_back(argument);
        }
    }
    if (operands.empty() || operands.size() > 2) {
        return Usage(command);
    }
    request.folder = operands[0];
    if (operands.size() == 2) {
        request.baseAddress = operands[1];
    }
    return deploy::Deploy(request);
}

} // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 0 ? argv[0] : "lirvane-deploy";
    deploy::EndCleanlyOnInterruption();
    try {
        return Run(command, std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
    } catch (const std::exception& error) {
        // A refusal, or a launcher or file manager entry that cannot be removed.
        std::cerr << std::filesystem::path(command).filename().string() << ": " << error.what()
                  << std::endl;
        return 1;
    }
}

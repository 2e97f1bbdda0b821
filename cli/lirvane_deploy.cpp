// lirvane-deploy: puts Lirvane into a folder that a web server publishes (see its manual page).
#include "cli/deploy.h"
#include "cli/deploy_file_manager.h"
#include "cli/deploy_interruption.h"
#include "cli/deploy_launcher.h"
#include "cli/deploy_system_reason.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

int Usage(const std::string& command) {
    constexpr std::string_view heading = "Utilisation : ";
    const std::string indent(heading.size(), ' ');
    std::cerr << heading << command
              << " DOSSIER [ADRESSE-DE-BASE] [--launcher] [--file-manager] [--no-check]\n"
              << indent << command << " --remove-launcher DOSSIER\n"
              << indent << command << " --remove-file-manager DOSSIER" << std::endl;
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
    const auto complain = [&command](const std::string& message) {
        std::cerr << std::filesystem::path(command).filename().string() << " : " << message << "."
                  << std::endl;
        return 1;
    };
    try {
        return Run(command, std::vector<std::string>(argv + std::min(argc, 1), argv + argc));
    } catch (const std::system_error& error) {
        // A launcher or file manager entry that cannot be removed.
        return complain(deploy::FrenchReason(error));
    } catch (const std::exception& error) {
        return complain(error.what());
    }
}

#include "cli/deploy.h"

#include "address/stored_address.h"
#include "cli/deploy_address_check.h"
#include "cli/deploy_file_manager.h"
#include "cli/deploy_launcher.h"
#include "cli/deploy_refusal.h"
#include "cli/deploy_sources.h"
#include "cli/deploy_staged_file.h"
#include "cli/deploy_text.h"
#include "paths/program_path.h"
#include "settings/settings_file.h"

#include <climits>
#include <cstdlib>
#include <iostream>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace deploy {
namespace {

using mdCode::StoredAddress;

std::string ExistingFolder(const std::string& given) {
    struct stat status {};
    char resolved[PATH_MAX];
    if (stat(given.c_str(), &status) != 0 || !S_ISDIR(status.st_mode) ||
        realpath(given.c_str(), resolved) == nullptr) {
        throw Refusal(given + " is not an existing folder");
    }
    return resolved;
}

bool IsFolder(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool Exists(const std::string& path) {
    struct stat status {};
    return lstat(path.c_str(), &status) == 0;
}

// The address as the settings window would save it.
std::u16string AddressToWrite(const std::string& given) {
    const StoredAddress stored = mdCode::AddressToStore(FromUtf8(given));
    switch (stored.refusal) {
    case StoredAddress::Refusal::Empty:
        throw Refusal("the base address is empty");
    case StoredAddress::Refusal::Unstorable:
        throw Refusal("the base address holds characters that Windows-1252 cannot store: " +
                      ToUtf8(stored.unstorable));
    case StoredAddress::Refusal::None:
        break;
    }
    return stored.address;
}

// The base address the program will read from its settings file, or what keeps it from one.
struct HeldAddress {
    std::optional<std::u16string> address;
    std::string problem;
};

HeldAddress ReadHeldAddress(const std::string& settings) {
    try {
        const std::optional<std::u16string> held =
            mdCode::ReadTextFile(mdCode::ToProgramForm(settings));
        if (held && !held->empty()) {
            return {held, {}};
        }
        return {std::nullopt, "it holds no base address"};
    } catch (const mdCode::FileError& error) {
        return {std::nullopt, "it cannot be read (" + std::string(error.what()) + ")"};
    }
}

void SayKept(const std::string& settings, const HeldAddress& held, const std::u16string& given) {
    std::cout << "Kept the existing " << settings;
    if (held.address == given) {
        std::cout << " (it holds the same base address)." << std::endl;
    } else if (held.address) {
        std::cout << ": it holds " << ToUtf8(*held.address) << ", not the given " << ToUtf8(given)
                  << ", and the program uses the address it holds." << std::endl;
    } else {
        std::cout << " (the base address was not written); " << held.problem << "." << std::endl;
    }
}

// The address that the settings file holds, checked; 3 when it does not serve the folder.
int CheckHeldAddress(const std::string& folder, const std::string& settings,
                     const HeldAddress& held) {
    if (held.address && AddressServesFolder(*held.address, folder)) {
        return 0;
    }
    if (!held.address) {
        std::cerr << "Warning: the base address cannot be checked: " << settings << ": "
                  << held.problem << ".\n";
    }
    std::cerr << "The folder is deployed all the same. To use another base address, change it in "
                 "the program's\nsettings window (\"Paramètre\"), or delete "
              << settings << " and deploy again with it;\n--no-check skips this check."
              << std::endl;
    return 3;
}

// What a deployment installs, known before anything is changed.
struct Plan {
    std::string folder;
    std::string program;
    std::string settings;
    std::optional<std::u16string> address;
    std::string executable;
    std::string icon;
    std::optional<FileManagerEntries> fileManagerEntries;
};

// Every refusal comes here, before anything is changed.
Plan Prepare(const DeployRequest& request) {
    Plan plan;
    plan.folder = ExistingFolder(request.folder);
    plan.program = plan.folder + "/lirvane";
    plan.settings = plan.folder + "/PARAM.ini";
    if (IsFolder(plan.program)) {
        throw Refusal(plan.program + " is a folder");
    }
    if (request.baseAddress) {
        plan.address = AddressToWrite(*request.baseAddress);
    }
    if (request.launcher) {
        if (const std::string refusal = LauncherRefusal(plan.folder); !refusal.empty()) {
            throw Refusal(refusal);
        }
        plan.icon = IconToInstall();
    }
    if (request.fileManager) {
        plan.fileManagerEntries.emplace(plan.folder, AddressCommandBeside());
    }
    plan.executable = ExecutableToInstall();
    return plan;
}

StagedFile StagedProgram(const Plan& plan) {
    try {
        StagedFile staged(plan.folder, 0755);
        staged.CopyFrom(plan.executable);
        return staged;
    } catch (const std::system_error& error) {
        throw Refusal("cannot write into " + plan.folder + " (" + error.what() + ")");
    }
}

} // namespace

int Deploy(const DeployRequest& request) {
    const Plan plan = Prepare(request);
    // The program is complete beside its place before the settings file and the launcher are
    // written, and takes its place last. A failure on the way removes it and the settings file.
    StagedFile staged = StagedProgram(plan);
    const bool writesSettings = plan.address && !Exists(plan.settings);
    if (writesSettings) {
        try {
            mdCode::WriteTextFile(mdCode::ToProgramForm(plan.settings), *plan.address);
        } catch (const mdCode::FileError& error) {
            throw Refusal("cannot write the settings: " + std::string(error.what()));
        }
    }
    const auto refusalTakingBackSettings = [&](const std::string& what,
                                               const std::exception& error) {
        if (writesSettings) {
            unlink(plan.settings.c_str());
        }
        return Refusal(what + error.what());
    };
    std::string entry;
    if (request.launcher) {
        try {
            entry = WriteLauncher(plan.folder, plan.icon);
        } catch (const std::system_error& error) {
            throw refusalTakingBackSettings("cannot add the launcher: ", error);
        }
    }
    std::vector<std::string> fileManagerFiles;
    if (plan.fileManagerEntries) {
        try {
            fileManagerFiles = plan.fileManagerEntries->Write();
        } catch (const std::system_error& error) {
            throw refusalTakingBackSettings("cannot add the file managers' entries: ", error);
        }
    }
    try {
        staged.Commit(plan.program);
    } catch (const std::system_error& error) {
        throw refusalTakingBackSettings("cannot install the program: ", error);
    }

    std::cout << "Installed " << plan.program << std::endl;
    HeldAddress held;
    if (plan.address) {
        held = ReadHeldAddress(plan.settings);
        if (writesSettings) {
            std::cout << "Settings: " << plan.settings << std::endl;
        } else {
            SayKept(plan.settings, held, *plan.address);
        }
    }
    if (request.launcher) {
        std::cout << "Launcher: " << entry << std::endl;
    }
    for (const std::string& file : fileManagerFiles) {
        std::cout << "File manager entry: " << file << std::endl;
    }
    return plan.address && request.check ? CheckHeldAddress(plan.folder, plan.settings, held) : 0;
}

} // namespace deploy

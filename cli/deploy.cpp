#include "cli/deploy.h"

#include "address/stored_address.h"
#include "cli/deploy_address_check.h"
#include "cli/deploy_file_manager.h"
#include "cli/deploy_launcher.h"
#include "cli/deploy_refusal.h"
#include "cli/deploy_sources.h"
#include "cli/deploy_staged_file.h"
#include "cli/deploy_system_reason.h"
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
        throw Refusal("« " + given + " » n'est pas un dossier existant");
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
    if (stored.refusal != StoredAddress::Refusal::None) {
        throw Refusal(ToUtf8(mdCode::RefusalReason(stored)));
    }
    return stored.address;
}

// The base address the program will read from its settings file, or what keeps it from one,
// said of the file: "ne donne aucune adresse de base".
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
        return {std::nullopt, "ne donne aucune adresse de base"};
    } catch (const mdCode::FileError& error) {
        return {std::nullopt, "ne peut pas être lu (" + std::string(error.what()) + ")"};
    }
}

void SayKept(const std::string& settings, const HeldAddress& held, const std::u16string& given) {
    std::cout << "« " << settings << " » existe déjà et est gardé";
    if (held.address == given) {
        std::cout << " (il donne la même adresse de base)." << std::endl;
    } else if (held.address) {
        std::cout << " : il donne " << ToUtf8(*held.address) << " et non " << ToUtf8(given)
                  << ", et le programme utilise celle qu'il donne." << std::endl;
    } else {
        std::cout << " (l'adresse de base n'est pas écrite) : il " << held.problem << "."
                  << std::endl;
    }
}

// The address that the settings file holds, checked; 3 when it does not serve the folder.
int CheckHeldAddress(const std::string& folder, const std::string& settings,
                     const HeldAddress& held) {
    if (held.address && AddressServesFolder(*held.address, folder)) {
        return 0;
    }
    if (!held.address) {
        std::cerr << "Attention : l'adresse de base ne peut pas être vérifiée : « " << settings
                  << " » " << held.problem << ".\n";
    }
    std::cerr << "Le dossier est déployé quand même. Pour utiliser une autre adresse de base, "
                 "changez-la dans la\nfenêtre « Paramètre » du programme, ou supprimez « "
              << settings
              << " » et déployez de nouveau\nen la donnant ; --no-check évite cette "
                 "vérification."
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
        throw Refusal("« " + plan.program + " » est un dossier");
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
        throw Refusal("impossible d'écrire dans « " + plan.folder + " » (" + FrenchReason(error) +
                      ")");
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
            throw Refusal("impossible d'écrire l'adresse de base : " + std::string(error.what()));
        }
    }
    const auto refusalTakingBackSettings = [&](const std::string& what,
                                               const std::system_error& error) {
        if (writesSettings) {
            unlink(plan.settings.c_str());
        }
        return Refusal(what + FrenchReason(error));
    };
    std::string entry;
    if (request.launcher) {
        try {
            entry = WriteLauncher(plan.folder, plan.icon);
        } catch (const std::system_error& error) {
            throw refusalTakingBackSettings("impossible d'ajouter le lanceur : ", error);
        }
    }
    std::vector<std::string> fileManagerFiles;
    if (plan.fileManagerEntries) {
        try {
            fileManagerFiles = plan.fileManagerEntries->Write();
        } catch (const std::system_error& error) {
            throw refusalTakingBackSettings("impossible d'ajouter les entrées de menu : ", error);
        }
    }
    try {
        staged.Commit(plan.program);
    } catch (const std::system_error& error) {
        throw refusalTakingBackSettings("impossible d'installer le programme : ", error);
    }

    std::cout << "Installé : " << plan.program << std::endl;
    HeldAddress held;
    if (plan.address) {
        held = ReadHeldAddress(plan.settings);
        if (writesSettings) {
            std::cout << "Adresse de base écrite : " << plan.settings << std::endl;
        } else {
            SayKept(plan.settings, held, *plan.address);
        }
    }
    if (request.launcher) {
        std::cout << "Lanceur : " << entry << std::endl;
    }
    for (const std::string& file : fileManagerFiles) {
        std::cout << "Entrée de menu : " << file << std::endl;
    }
    return plan.address && request.check ? CheckHeldAddress(plan.folder, plan.settings, held) : 0;
}

} // namespace deploy

#include "cli/deploy/deploy.h"

#include "address/stored_address.h"
#include "cli/common/interruption.h"
#include "cli/common/shown_text.h"
#include "cli/deploy/address_check.h"
#include "cli/deploy/changes.h"
#include "cli/deploy/launcher.h"
#include "cli/deploy/menu_entries.h"
#include "cli/deploy/refusal.h"
#include "cli/deploy/sources.h"
#include "encoding/utf8.h"
#include "paths/program_path.h"
#include "paths/resolved_path.h"
#include "settings/folder_files.h"
#include "settings/settings_file.h"

#include <iostream>
#include <sys/stat.h>
#include <vector>

namespace deploy {
namespace {

using mdCode::StoredAddress;

std::string ExistingFolder(const std::string& given) {
    struct stat status {};
    if (stat(given.c_str(), &status) != 0 || !S_ISDIR(status.st_mode))
        throw Refusal("« " + given + " » n'est pas un dossier existant");
    return mdCode::RealPath(given, mdCode::CurrentFolder());
}

bool IsFolder(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool Exists(const std::string& path) {
    struct stat status {};
    return lstat(path.c_str(), &status) == 0;
}

// A scheme such as "http://" begins the address: without one, what the program makes of a name
// is no link that a mail or a browser follows.
bool HasScheme(const std::u16string& address) {
    const std::size_t end = address.find(u"://");
    return end != std::u16string::npos && end > 0 &&
           address.find_first_not_of(u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                     u"0123456789+.-") == end;
}

// The address as the settings window would save it, with its scheme.
std::u16string AddressToWrite(const std::string& given) {
    const StoredAddress stored = mdCode::AddressToStore(mdCode::FromUtf8(given));
    if (stored.refusal != StoredAddress::Refusal::None)
        throw Refusal(mdCode::ToUtf8(mdCode::RefusalReason(stored)));
    if (!HasScheme(stored.address))
        throw Refusal("l'adresse de base « " + cli::ShownText(stored.address) +
                      " » ne dit pas son protocole : écrivez http:// ou https:// devant");
    return stored.address;
}

// The base address the program will take from its settings file, or what keeps it from one,
// said of the file: "ne donne aucune adresse de base".
struct HeldAddress {
    std::optional<std::u16string> address;
    std::string problem;
};

HeldAddress ReadHeldAddress(const std::string& settings) {
    try {
        const StoredAddress held =
            mdCode::StoredBaseAddress(mdCode::ReadTextFile(mdCode::ToProgramForm(settings)));
        if (held.refusal == StoredAddress::Refusal::None)
            return {held.address, {}};
        return {std::nullopt, mdCode::ToUtf8(mdCode::SettingsFileProblem(held))};
    } catch (const mdCode::FileError& error) {
        return {std::nullopt, "ne peut pas être lu (" + std::string(error.what()) + ")"};
    }
}

void SayKept(const std::string& settings, const HeldAddress& held, const std::u16string& given) {
    std::cout << "« " << settings << " » existe déjà et est gardé";
    if (held.address == given) {
        std::cout << " (il donne la même adresse de base)." << std::endl;
    } else if (held.address) {
        std::cout << " : il donne " << cli::ShownText(*held.address) << " et non "
                  << cli::ShownText(given) << ", et le programme utilise celle qu'il donne."
                  << std::endl;
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
    bool writesSettings = false;
    std::string executable;
    std::optional<Launcher> launcher;
    std::string icon;
    std::optional<MenuEntries> menuEntries;
};

// Every refusal comes here, before anything is changed.
Plan Prepare(const DeployRequest& request) {
    Plan plan;
    plan.folder = ExistingFolder(request.folder);
    plan.program = plan.folder + "/" + mdCode::ProgramFileName;
    plan.settings = plan.folder + "/" + mdCode::SettingsFileName;
    if (IsFolder(plan.program))
        throw Refusal("« " + plan.program + " » est un dossier");
    if (request.baseAddress) {
        plan.address = AddressToWrite(*request.baseAddress);
        plan.writesSettings = !Exists(plan.settings);
    }
    if (request.launcher || request.fileManager) {
        const UserPlaces places = CurrentUserPlaces();
        if (request.launcher) {
            plan.launcher = LauncherOf(places, plan.folder);
            plan.icon = IconToInstall();
        }
        if (request.fileManager)
            plan.menuEntries.emplace(places, plan.folder, AddressCommandBeside());
    }
    plan.executable = ExecutableToInstall();
    return plan;
}

// Runs one step of the changes; a failure is the refusal that says which step failed.
template <class Step> void AsRefusal(const std::string& what, Step step) {
    try {
        step();
    } catch (const mdCode::FileError& error) {
        throw Refusal(what + " (" + error.what() + ")");
    }
}

// Every change, prepared then made at once, in an order where each step needs only the ones
// before it: the program, its settings, the launcher that starts it, the menu entries.
void MakeChanges(const Plan& plan) {
    Changes changes;
    AsRefusal("impossible d'écrire dans « " + plan.folder + " »",
              [&] { changes.Copy(plan.program, plan.executable, 0755); });
    if (plan.writesSettings) {
        AsRefusal("impossible d'écrire l'adresse de base",
                  [&] { changes.Put(plan.settings, mdCode::SettingsFileBytes(*plan.address)); });
    }
    if (plan.launcher) {
        AsRefusal("impossible d'ajouter le lanceur",
                  [&] { AddLauncher(changes, *plan.launcher, plan.folder, plan.icon); });
    }
    if (plan.menuEntries)
        AsRefusal("impossible d'ajouter les entrées de menu",
                  [&] { plan.menuEntries->Add(changes); });
    AsRefusal("impossible d'installer le programme", [&] { changes.Commit(); });
}

void SayDeployed(const Plan& plan, const HeldAddress& held) {
    std::cout << "Installé : " << plan.program << std::endl;
    if (plan.address) {
        if (plan.writesSettings)
            std::cout << "Adresse de base écrite : " << plan.settings << std::endl;
        else
            SayKept(plan.settings, held, *plan.address);
    }
    if (plan.launcher)
        std::cout << "Lanceur : " << plan.launcher->entry.string() << std::endl;
    if (plan.menuEntries) {
        for (const std::string& file : plan.menuEntries->Files())
            std::cout << "Entrée de menu : " << file << std::endl;
        if (!plan.menuEntries->Warning().empty())
            std::cerr << "Attention : " << plan.menuEntries->Warning() << "." << std::endl;
    }
}

} // namespace

int Deploy(const DeployRequest& request) {
    const Plan plan = Prepare(request);
    try {
        MakeChanges(plan);
    } catch (const cli::Interrupted&) {
        std::cerr << "lirvane-deploy : interrompu, rien n'est changé." << std::endl;
        throw;
    }
    try {
        if (plan.launcher)
            RefreshDesktopDatabase(*plan.launcher);
        const HeldAddress held = plan.address ? ReadHeldAddress(plan.settings) : HeldAddress{};
        SayDeployed(plan, held);
        return plan.address && request.check ? CheckHeldAddress(plan.folder, plan.settings, held)
                                             : 0;
    } catch (const cli::Interrupted&) {
        std::cerr << "lirvane-deploy : interrompu une fois le dossier déployé ; l'adresse de base "
                     "n'est pas vérifiée."
                  << std::endl;
        throw;
    }
}

} // namespace deploy

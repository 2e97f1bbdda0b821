#include "cli/deploy/sources.h"

#include "cli/deploy/refusal.h"
#include "paths/resolved_path.h"
#include "settings/folder_files.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace deploy {
namespace {

// A file, not a folder, that this user may use as asked (an `access` mode).
bool IsUsableFile(const std::string& path, int usable) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           access(path.c_str(), usable) == 0;
}

std::string CommandFolder() {
    const auto folder = mdCode::ExecutableFolder();
    if (!folder) {
        throw Refusal("le dossier de cette commande est introuvable");
    }
    return *folder;
}

// The first of the two that can be used as asked, the packaged one first.
std::string Installed(const std::string& packaged, const std::string& beside, int usable,
                      const std::string& nothing) {
    const std::string folder = CommandFolder();
    for (const std::string& candidate : {folder + "/../" + packaged, folder + "/" + beside}) {
        if (IsUsableFile(candidate, usable)) {
            return candidate;
        }
    }
    throw Refusal(nothing + " : ni « " + folder + "/../" + packaged + " » ni « " + folder + "/" +
                  beside + " »");
}

} // namespace

std::string ExecutableToInstall() {
    if (const char* given = std::getenv("LIRVANE_EXECUTABLE"); given != nullptr && *given) {
        if (!IsUsableFile(given, X_OK)) {
            throw Refusal("LIRVANE_EXECUTABLE n'est pas un fichier exécutable");
        }
        return given;
    }
    const std::string program = mdCode::ProgramFileName;
    return Installed("lib/lirvane/" + program, program, X_OK, "aucun programme à installer");
}

std::string AddressCommandBeside() {
    const std::string command = CommandFolder() + "/lirvane-address";
    if (!IsUsableFile(command, X_OK)) {
        throw Refusal("lirvane-address n'est pas à côté de cette commande : « " + command +
                      " » manque");
    }
    return command;
}

std::string IconToInstall() {
    return Installed("share/icons/hicolor/32x32/apps/lirvane.png", "lirvane.png", R_OK,
                     "aucune icône à installer");
}

} // namespace deploy

#include "cli/deploy/user_places.h"

#include "cli/deploy/refusal.h"

#include <cstdlib>
#include <sstream>

namespace deploy {
namespace {

namespace fs = std::filesystem;

fs::path AbsoluteOrNone(const char* value) {
    return value != nullptr && *value == '/' ? fs::path(value) : fs::path();
}

fs::path InHome(const fs::path& place, const fs::path& home, const char* variable,
                const char* below) {
    if (!place.empty())
        return place;
    if (home.empty())
        throw Refusal(std::string("aucun dossier personnel où écrire : ni ") + variable +
                      " ni HOME ne donnent un chemin absolu");
    return home / below;
}

} // namespace

UserPlaces::UserPlaces(const Environment& environment)
    : home_(AbsoluteOrNone(environment("HOME"))),
      dataHome_(AbsoluteOrNone(environment("XDG_DATA_HOME"))),
      configHome_(AbsoluteOrNone(environment("XDG_CONFIG_HOME"))) {
    const char* configDirs = environment("XDG_CONFIG_DIRS");
    std::istringstream dirs(configDirs != nullptr && *configDirs != '\0' ? configDirs : "/etc/xdg");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        if (dir.starts_with('/'))
            configDirs_.emplace_back(dir);
    }
}

fs::path UserPlaces::DataHome() const {
    return InHome(dataHome_, home_, "XDG_DATA_HOME", ".local/share");
}

fs::path UserPlaces::ConfigHome() const {
    return InHome(configHome_, home_, "XDG_CONFIG_HOME", ".config");
}

UserPlaces CurrentUserPlaces() {
    return UserPlaces([](const char* variable) { return std::getenv(variable); });
}

} // namespace deploy

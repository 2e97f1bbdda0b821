#include "cli/deploy/launcher.h"

#include "cli/common/child_process.h"
#include "cli/deploy/desktop_entry.h"
#include "cli/deploy/entry_names.h"
#include "cli/deploy/refusal.h"
#include "files/file_error.h"
#include "paths/resolved_path.h"

#include <iostream>

namespace deploy {
namespace {

namespace fs = std::filesystem;

bool AnyLauncherLeft(const fs::path& applications, const fs::path& removed) {
    std::error_code error;
    for (const auto& file : fs::directory_iterator(applications, error)) {
        const std::string name = file.path().filename().string();
        if (file.path() != removed && name.starts_with("lirvane-") && name.ends_with(".desktop"))
            return true;
    }
    return false;
}

} // namespace

Launcher LauncherOf(const UserPlaces& places, const std::string& folder) {
    if (const std::string refusal = FolderNameRefusal(folder, "un lanceur"); !refusal.empty())
        throw Refusal(refusal);
    const fs::path data = places.DataHome();
    return {data / "applications" / (EntryId(folder) + ".desktop"),
            data / "icons/hicolor/32x32/apps/lirvane.png"};
}

void AddLauncher(Changes& changes, const Launcher& launcher, const std::string& folder,
                 const fs::path& icon) {
    changes.Copy(launcher.icon, icon, 0644);
    changes.Put(launcher.entry, LauncherEntry(folder), 0644);
}

void RemoveLauncher(const std::string& givenFolder) {
    const Launcher launcher =
        LauncherOf(CurrentUserPlaces(), mdCode::RealPath(givenFolder, mdCode::CurrentFolder()));
    std::error_code error;
    if (!fs::exists(fs::symlink_status(launcher.entry, error))) {
        std::cout << "Aucun lanceur pour « " << givenFolder << " »." << std::endl;
        return;
    }
    Changes changes;
    changes.Remove(launcher.entry);
    if (!AnyLauncherLeft(launcher.entry.parent_path(), launcher.entry))
        changes.Remove(launcher.icon);
    changes.Commit();
    RefreshDesktopDatabase(launcher);
    std::cout << "Supprimé : " << launcher.entry.string() << std::endl;
}

void RefreshDesktopDatabase(const Launcher& launcher) {
    std::cout.flush();
    try {
        cli::Run({"update-desktop-database", "-q", launcher.entry.parent_path().string()});
    } catch (const mdCode::FileError&) {
        // Not installed: the menus read the entries themselves.
    }
}

} // namespace deploy

#include "cli/deploy_launcher.h"

#include "cli/deploy_child_process.h"
#include "cli/deploy_desktop_entry.h"
#include "cli/deploy_md5.h"
#include "cli/deploy_staged_file.h"
#include "encoding/utf8.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <system_error>

namespace deploy {
namespace {

namespace fs = std::filesystem;

struct LauncherPlaces {
    fs::path applications;
    fs::path icon;
};

LauncherPlaces UserLauncherPlaces() {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const fs::path data = dataHome != nullptr && *dataHome != '\0'
                              ? fs::path(dataHome)
                              : fs::path(home != nullptr ? home : "") / ".local/share";
    return {data / "applications", data / "icons/hicolor/32x32/apps/lirvane.png"};
}

// Unique to the folder's full path; the same name for the same folder in every version, so that
// an entry made by an earlier one is found and replaced or removed.
fs::path EntryPath(const LauncherPlaces& places, const std::string& folder) {
    return places.applications / ("lirvane-" + Md5Hex(folder).substr(0, 12) + ".desktop");
}

bool AnyEntryLeft(const fs::path& applications) {
    std::error_code error;
    for (const auto& file : fs::directory_iterator(applications, error)) {
        const std::string name = file.path().filename().string();
        if (name.starts_with("lirvane-") && name.ends_with(".desktop")) {
            return true;
        }
    }
    return false;
}

// Menus read the entries' cache where the desktop keeps one; it is a help, not a need.
void RefreshDesktopDatabase(const fs::path& applications) {
    std::cout.flush();
    try {
        Run({"update-desktop-database", "-q", applications.string()});
    } catch (const std::system_error&) {
        // Not installed: the menus read the entries themselves.
    }
}

bool HoldsControlByte(const std::string& bytes) {
    for (const char byte : bytes) {
        if (static_cast<unsigned char>(byte) < 0x20 || byte == 0x7F) {
            return true;
        }
    }
    return false;
}

// False when the bytes are not UTF-8; `c1Control` tells whether they hold a C1 control
// character before the first byte that is not.
bool IsUtf8(std::string_view bytes, bool& c1Control) {
    while (!bytes.empty()) {
        const mdCode::Utf8Sequence sequence = mdCode::DecodeUtf8(bytes);
        if (sequence.length == 0) {
            return false;
        }
        c1Control = c1Control || (sequence.codePoint >= 0x80 && sequence.codePoint <= 0x9F);
        bytes.remove_prefix(sequence.length);
    }
    return true;
}

} // namespace

FolderNameFault FaultOfFolderName(const std::string& folder) {
    bool c1Control = false;
    const bool utf8 = IsUtf8(folder, c1Control);
    if (HoldsControlByte(folder) || c1Control) {
        return FolderNameFault::ControlCharacter;
    }
    return utf8 ? FolderNameFault::None : FolderNameFault::NotUtf8;
}

std::string FullPath(const std::string& given) {
    fs::path path = fs::weakly_canonical(fs::absolute(given));
    std::string text = path.string();
    while (text.size() > 1 && text.ends_with('/')) {
        text.pop_back();
    }
    return text;
}

std::string LauncherRefusal(const std::string& folder) {
    switch (FaultOfFolderName(folder)) {
    case FolderNameFault::ControlCharacter:
        return "un lanceur ne peut pas nommer un dossier dont le chemin contient des caractères de "
               "contrôle";
    case FolderNameFault::NotUtf8:
        return "un lanceur demande un chemin de dossier en UTF-8";
    case FolderNameFault::None:
        break;
    }
    return {};
}

std::string WriteLauncher(const std::string& folder, const std::string& icon) {
    const LauncherPlaces places = UserLauncherPlaces();
    fs::create_directories(places.applications);
    fs::create_directories(places.icon.parent_path());
    StagedFile iconCopy(places.icon.parent_path().string(), 0644);
    iconCopy.CopyFrom(icon);
    iconCopy.Commit(places.icon.string());
    const fs::path entry = EntryPath(places, folder);
    StagedFile entryFile(places.applications.string(), 0644);
    entryFile.Write(DesktopEntry(folder));
    entryFile.Commit(entry.string());
    RefreshDesktopDatabase(places.applications);
    return entry.string();
}

void RemoveLauncher(const std::string& givenFolder) {
    const LauncherPlaces places = UserLauncherPlaces();
    const fs::path entry = EntryPath(places, FullPath(givenFolder));
    if (!fs::exists(entry)) {
        std::cout << "Aucun lanceur pour « " << givenFolder << " »." << std::endl;
        return;
    }
    fs::remove(entry);
    if (!AnyEntryLeft(places.applications)) {
        fs::remove(places.icon);
    }
    RefreshDesktopDatabase(places.applications);
    std::cout << "Supprimé : " << entry.string() << std::endl;
}

} // namespace deploy

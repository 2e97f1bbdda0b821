#include "cli/file_manager_entries.h"

#include "cli/deploy_desktop_entry.h"
#include "cli/deploy_md5.h"
#include "cli/deploy_text.h"

#include <cstdlib>
#include <sstream>

namespace deploy {
namespace {

namespace fs = std::filesystem;

const std::string MenuLabel = "Copier l'adresse web";
const std::string Icon = "edit-copy";

fs::path FolderFromEnvironment(const char* variable, const fs::path& fallback) {
    const char* value = std::getenv(variable);
    return value != nullptr && *value == '/' ? fs::path(value) : fallback;
}

// Named after the folder's full path, as the launcher is: the same folder finds the same entry.
std::string EntryId(const EntryTarget& target) {
    return "lirvane-" + Md5Hex(target.folder).substr(0, 12);
}

std::string FolderName(const std::string& folder) {
    const std::string name = fs::path(folder).filename().string();
    return name.empty() ? folder : name;
}

// The label where the entry shows for every file: the folder's name tells the entries apart.
std::string LabelWithFolder(const EntryTarget& target) {
    return MenuLabel + " – " + FolderName(target.folder);
}

std::string Description(const EntryTarget& target) {
    return "Adresse web des fichiers de " + target.folder;
}

std::string Mark(const EntryTarget& target) {
    return "# Added by lirvane-deploy for " + target.folder;
}

// A word for sh and for GLib's command-line parser alike.
std::string ShellWord(const std::string& value) {
    return "'" + Replaced(value, '\'', "'\\''") + "'";
}

// The command before the files, as shell words.
std::string ShellCommand(const EntryTarget& target) {
    return ShellWord(target.addressCommand) + " --copy --notify --folder " +
           ShellWord(target.folder) + " --";
}

// An item of a key file's list (a GLib key file is written as a desktop entry): ";" ends it.
std::string KeyFileListItem(const std::string& value) {
    return Replaced(EntryString(value), ';', "\\;") + ";";
}

// Nautilus and Caja run a script with the chosen files as its arguments, from their folder.
EntryFile Script(const fs::path& scripts, const EntryTarget& target) {
    std::string script = "#!/bin/sh\n" + Mark(target) + "\n";
    script += "exec " + ShellCommand(target) + " \"$@\"\n";
    return {scripts / LabelWithFolder(target), script, 0755, Mark(target)};
}

// Nemo puts each path, in double quotes, where "%F" stands, and parses the line as GLib does.
// It cannot limit an action to a folder.
EntryFile NemoAction(const UserFolders& folders, const EntryTarget& target) {
    std::string action = Mark(target) + "\n[Nemo Action]\n";
    action += "Name=" + EntryString(LabelWithFolder(target)) + "\n";
    action += "Comment=" + EntryString(Description(target)) + "\n";
    action += "Exec=" + EntryString(ShellCommand(target) + " %F") + "\n";
    action += "Icon-Name=" + Icon + "\nSelection=notnone\nExtensions=any;\nQuote=double\n";
    return {folders.dataHome / "nemo/actions" / (EntryId(target) + ".nemo_action"), action, 0644,
            Mark(target)};
}

// Dolphin reads a service menu's Exec line as a desktop entry's, and only from an executable
// file. It cannot limit one to a folder.
EntryFile DolphinServiceMenu(const UserFolders& folders, const EntryTarget& target) {
    std::string menu = Mark(target) + "\n[Desktop Entry]\nType=Service\n";
    menu += "MimeType=all/allfiles;\nX-KDE-ServiceTypes=KonqPopupMenu/Plugin\n";
    menu += "Actions=copyWebAddress;\n\n[Desktop Action copyWebAddress]\n";
    menu += "Name=" + EntryString(LabelWithFolder(target)) + "\nIcon=" + Icon + "\n";
    menu += "Exec=" + ExecArgument(target.addressCommand) + " --copy --notify --folder " +
            ExecArgument(target.folder) + " -- %F\n";
    return {folders.dataHome / "kio/servicemenus" / (EntryId(target) + ".desktop"), menu, 0755,
            Mark(target)};
}

// The patterns of `Folders` that show the entry below the folder in both PCManFM and PCManFM-Qt.
// PCManFM (libfm) matches each pattern against the folder shown, keeps only the last one's
// outcome, and reads past its list when a pattern does not end with "*": it crashes. PCManFM-Qt
// matches a pattern, with "/*" added unless it ends so, against each file's folder, and takes
// any of them. So PCManFM gets "FOLDER*", last; PCManFM-Qt finds the files directly in the
// folder only through "PARENT/*", and shows the entry in the folder's siblings too, where the
// command says that their files have no address.
std::string FolderPatterns(const std::string& folder) {
    const std::string parent = fs::path(folder).parent_path().string();
    return KeyFileListItem((parent == "/" ? "" : parent) + "/*") + KeyFileListItem(folder + "*");
}

// PCManFM and PCManFM-Qt put each path, shell-quoted, where "%F" stands, turn "%%" into "%"
// and parse the line as GLib does. PCManFM shows a tooltip, when there is one, in place of the
// name.
EntryFile PcmanfmAction(const UserFolders& folders, const EntryTarget& target) {
    std::string action = Mark(target) + "\n[Desktop Entry]\nType=Action\n";
    action += "Name=" + MenuLabel + "\nIcon=" + Icon + "\nProfiles=files;\n\n";
    action += "[X-Action-Profile files]\nName=" + MenuLabel + "\n";
    action += "MimeTypes=all/allfiles;\nSelectionCount=>0\n";
    action += "Folders=" + FolderPatterns(target.folder) + "\n";
    action += "Exec=" + EntryString(Replaced(ShellCommand(target), '%', "%%") + " %F") + "\n";
    return {folders.dataHome / "file-manager/actions" / (EntryId(target) + ".desktop"), action,
            0644, Mark(target)};
}

} // namespace

UserFolders CurrentUserFolders() {
    const char* home = std::getenv("HOME");
    const fs::path homeFolder(home != nullptr ? home : "");
    UserFolders folders{FolderFromEnvironment("XDG_DATA_HOME", homeFolder / ".local/share"),
                        FolderFromEnvironment("XDG_CONFIG_HOME", homeFolder / ".config"),
                        {}};
    const char* configDirs = std::getenv("XDG_CONFIG_DIRS");
    std::istringstream dirs(configDirs != nullptr && *configDirs != '\0' ? configDirs : "/etc/xdg");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        if (dir.starts_with('/')) {
            folders.configDirs.emplace_back(dir);
        }
    }
    return folders;
}

std::vector<EntryFile> EntryFiles(const UserFolders& folders, const EntryTarget& target) {
    return {Script(folders.dataHome / "nautilus/scripts", target),
            Script(folders.configHome / "caja/scripts", target), NemoAction(folders, target),
            DolphinServiceMenu(folders, target), PcmanfmAction(folders, target)};
}

// Thunar puts each path, shell-quoted, where "%F" stands, turns "%%" into "%" and parses the
// line as GLib does. It cannot limit an action to a folder.
ThunarAction ThunarEntry(const EntryTarget& target) {
    return {EntryId(target), LabelWithFolder(target), Description(target), Icon,
            Replaced(ShellCommand(target), '%', "%%") + " %F"};
}

fs::path ThunarActionsFile(const UserFolders& folders) {
    return folders.configHome / "Thunar/uca.xml";
}

fs::path SystemThunarActionsFile(const UserFolders& folders) {
    for (const fs::path& dir : folders.configDirs) {
        std::error_code error;
        if (fs::is_regular_file(dir / "Thunar/uca.xml", error)) {
            return dir / "Thunar/uca.xml";
        }
    }
    return {};
}

} // namespace deploy

#include "cli/deploy/menu_entry_files.h"

#include "cli/deploy/desktop_entry.h"
#include "cli/deploy/entry_names.h"

namespace deploy {
namespace {

namespace fs = std::filesystem;

const std::string MenuLabel = "Copier l'adresse web";
const std::string Icon = "edit-copy";

std::string Description(const EntryTarget& target) {
    return "Adresse web des fichiers de " + target.folder;
}

// A word for sh and for GLib's command-line parser alike.
std::string ShellWord(const std::string& value) {
    return "'" + Replaced(value, '\'', "'\\''") + "'";
}

// The command before the files, as shell words.
std::string ShellCommand(const EntryTarget& target) {
    return ShellWord(target.addressCommand) + " --copy --notify --folder " +
           ShellWord(target.folder);
}

// An item of a key file's list (a GLib key file is written as a desktop entry): ";" ends it.
std::string KeyFileListItem(const std::string& value) {
    return Replaced(EntryString(value), ';', "\\;") + ";";
}

// Nautilus and Caja run a script from the chosen files' folder, with their names as arguments,
// but mangled where a name holds "%"; the variable PREFIX_SCRIPT_SELECTED_URIS holds their URIs
// whole, one a line (a line break in a name is percent-encoded there).
EntryFile Script(const fs::path& scripts, const std::string& prefix, const EntryTarget& target) {
    const std::string mark = EntryMark(target.folder);
    const std::string uris = prefix + "_SCRIPT_SELECTED_URIS";
    std::string script = "#!/bin/sh\n" + mark + "\n";
    script += "if [ -n \"${" + uris + "-}\" ]; then\n";
    script += "    IFS='\n'\n    set -f\n";
    script += "    exec " + ShellCommand(target) + " --uris -- $" + uris + "\nfi\n";
    script += "exec " + ShellCommand(target) + " -- \"$@\"\n";
    return {scripts / target.label, script, 0755, mark};
}

// Nemo puts each path, in double quotes, where "%F" stands, reads "%%" as "%" and parses the line
// as GLib does. It cannot limit an action to a folder.
EntryFile NemoAction(const UserPlaces& places, const EntryTarget& target) {
    const std::string mark = EntryMark(target.folder);
    std::string action = mark + "\n[Nemo Action]\n";
    action += "Name=" + EntryString(target.label) + "\n";
    action += "Comment=" + EntryString(Description(target)) + "\n";
    action += "Exec=" + EntryString(Replaced(ShellCommand(target), '%', "%%") + " -- %F") + "\n";
    action += "Icon-Name=" + Icon + "\nSelection=notnone\nExtensions=any;\nQuote=double\n";
    return {places.DataHome() / "nemo/actions" / (EntryId(target.folder) + ".nemo_action"), action,
            0644, mark};
}

// Dolphin reads a service menu's Exec line as a desktop entry's, and only from an executable
// file. It cannot limit one to a folder.
EntryFile DolphinServiceMenu(const UserPlaces& places, const EntryTarget& target) {
    const std::string mark = EntryMark(target.folder);
    std::string menu = mark + "\n[Desktop Entry]\nType=Service\n";
    menu += "MimeType=all/allfiles;\nX-KDE-ServiceTypes=KonqPopupMenu/Plugin\n";
    menu += "Actions=copyWebAddress;\n\n[Desktop Action copyWebAddress]\n";
    menu += "Name=" + EntryString(target.label) + "\nIcon=" + Icon + "\n";
    menu += "Exec=" + ExecArgument(target.addressCommand) + " --copy --notify --folder " +
            ExecArgument(target.folder) + " -- %F\n";
    return {places.DataHome() / "kio/servicemenus" / (EntryId(target.folder) + ".desktop"), menu,
            0755, mark};
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
// name; it shows the entry only below the folder, so the label needs no folder name.
EntryFile PcmanfmAction(const UserPlaces& places, const EntryTarget& target) {
    const std::string mark = EntryMark(target.folder);
    std::string action = mark + "\n[Desktop Entry]\nType=Action\n";
    action += "Name=" + MenuLabel + "\nIcon=" + Icon + "\nProfiles=files;\n\n";
    action += "[X-Action-Profile files]\nName=" + MenuLabel + "\n";
    action += "MimeTypes=all/allfiles;\nSelectionCount=>0\n";
    action += "Folders=" + FolderPatterns(target.folder) + "\n";
    action += "Exec=" + EntryString(Replaced(ShellCommand(target), '%', "%%") + " -- %F") + "\n";
    return {places.DataHome() / "file-manager/actions" / (EntryId(target.folder) + ".desktop"),
            action, 0644, mark};
}

} // namespace

// Nautilus and Caja do not run a script whose name holds a "%" (they list it, or not even that):
// the label, which names the scripts, shows the percent sign U+066A in its place, which the
// usual fonts (DejaVu) draw and which reads left to right with its digits.
std::string EntryLabel(const std::string& folder, const std::string& detail) {
    const std::string label = MenuLabel + " – " + FolderDisplayName(folder);
    return Replaced(detail.empty() ? label : label + " (" + detail + ")", '%', "٪");
}

std::string EntryMark(const std::string& folder) {
    return "# Added by lirvane-deploy for " + folder;
}

std::vector<fs::path> ScriptFolders(const UserPlaces& places) {
    return {places.DataHome() / "nautilus/scripts", places.ConfigHome() / "caja/scripts"};
}

std::vector<EntryFile> ScriptEntryFiles(const UserPlaces& places, const EntryTarget& target) {
    const std::vector<fs::path> scripts = ScriptFolders(places);
    return {Script(scripts[0], "NAUTILUS", target), Script(scripts[1], "CAJA", target)};
}

std::vector<EntryFile> NamedEntryFiles(const UserPlaces& places, const EntryTarget& target) {
    return {NemoAction(places, target), DolphinServiceMenu(places, target),
            PcmanfmAction(places, target)};
}

// Thunar puts each path, shell-quoted, where "%F" stands, turns "%%" into "%" and parses the
// line as GLib does. It cannot limit an action to a folder.
ThunarAction ThunarEntry(const EntryTarget& target) {
    return {EntryId(target.folder), target.label, Description(target), Icon,
            Replaced(ShellCommand(target), '%', "%%") + " -- %F"};
}

fs::path ThunarActionsFile(const UserPlaces& places) {
    return places.ConfigHome() / "Thunar/uca.xml";
}

fs::path SystemThunarActionsFile(const UserPlaces& places) {
    for (const fs::path& dir : places.ConfigDirs()) {
        std::error_code error;
        if (fs::is_regular_file(dir / "Thunar/uca.xml", error))
            return dir / "Thunar/uca.xml";
    }
    return {};
}

} // namespace deploy

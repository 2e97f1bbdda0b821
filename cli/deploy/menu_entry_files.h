#pragma once

#include "cli/deploy/thunar_actions.h"
#include "cli/deploy/user_places.h"

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

// "Copier l'adresse web" in the file managers' menus: each file manager's own place and format
// for an entry that runs lirvane-address on the chosen files of a deployed folder.
namespace deploy {

// What the entries run (lirvane-address, by its absolute path) on the files of which folder
// (full path, UTF-8 without control characters), and the name they show, which tells the
// folder's entries from another folder's.
struct EntryTarget {
    std::string folder;
    std::string addressCommand;
    std::string label;
};

// "Copier l'adresse web – <folder name>", or with `detail` when another folder of that name has
// an entry: "Copier l'adresse web – tmp (site2)"; a "%" shows as "٪".
std::string EntryLabel(const std::string& folder, const std::string& detail = {});

// An entry that is a file of its own. The file holds `mark`, a line that names the folder: a
// file without it is the user's, never replaced or removed.
struct EntryFile {
    std::filesystem::path path;
    std::string content;
    mode_t mode = 0644;
    std::string mark;
};

std::string EntryMark(const std::string& folder);

// The folders of Nautilus's and Caja's scripts, whose file names are the labels.
std::vector<std::filesystem::path> ScriptFolders(const UserPlaces& places);

// The scripts of Nautilus and Caja, named after the label, one in each of ScriptFolders().
std::vector<EntryFile> ScriptEntryFiles(const UserPlaces& places, const EntryTarget& target);
// The entries of Nemo, Dolphin and PCManFM, named after the folder's entry id.
std::vector<EntryFile> NamedEntryFiles(const UserPlaces& places, const EntryTarget& target);

// Thunar's: one action in its actions file.
ThunarAction ThunarEntry(const EntryTarget& target);
std::filesystem::path ThunarActionsFile(const UserPlaces& places);
// The system's actions file that Thunar reads while the user has none; empty when none.
std::filesystem::path SystemThunarActionsFile(const UserPlaces& places);

} // namespace deploy

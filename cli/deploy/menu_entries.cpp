#include "cli/deploy/menu_entries.h"

#include "cli/deploy/entry_names.h"
#include "cli/deploy/file_state.h"
#include "cli/deploy/refusal.h"
#include "cli/deploy/thunar_state.h"
#include "paths/resolved_path.h"

#include <iostream>

namespace deploy {
namespace {

namespace fs = std::filesystem;

bool HoldsLine(const std::string& text, const std::string& line) {
    return ("\n" + text + "\n").find("\n" + line + "\n") != std::string::npos;
}

// Whether the file is an entry that lirvane-deploy wrote for the folder.
bool IsOurs(const fs::path& path, const std::string& mark) {
    const FileState state = MenuFileState(path);
    return state.kind == FileState::Kind::File && HoldsLine(*state.bytes, mark);
}

// The scripts of the folder in the scripts' folders, whatever their names.
std::vector<fs::path> ScriptsOf(const UserPlaces& places, const std::string& folder) {
    std::vector<fs::path> scripts;
    for (const fs::path& scriptFolder : ScriptFolders(places)) {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(scriptFolder, error)) {
            if (IsOurs(entry.path(), EntryMark(folder)))
                scripts.push_back(entry.path());
        }
    }
    return scripts;
}

// The label of the folder's entries: the one its scripts have, or the first that no other script
// takes: another folder of the same name has entries, or the user has a script of that name.
std::string LabelOf(const UserPlaces& places, const std::string& folder) {
    if (const std::vector<fs::path> scripts = ScriptsOf(places, folder); !scripts.empty())
        return scripts.front().filename().string();
    const std::string parent = FolderDisplayName(fs::path(folder).parent_path().string());
    for (const std::string& label :
         {EntryLabel(folder), EntryLabel(folder, parent), EntryLabel(folder, EntryId(folder))}) {
        bool free = true;
        for (const fs::path& scriptFolder : ScriptFolders(places)) {
            const fs::path script = scriptFolder / label;
            free = free && (StateOf(script).kind == FileState::Kind::Absent ||
                            IsOurs(script, EntryMark(folder)));
        }
        if (free)
            return label;
    }
    throw Refusal("aucun nom libre pour les scripts de Nautilus et de Caja");
}

} // namespace

MenuEntries::MenuEntries(const UserPlaces& places, const std::string& folder,
                         const std::string& addressCommand) {
    if (const std::string refusal = FolderNameRefusal(folder, "une entrée de menu");
        !refusal.empty())
        throw Refusal(refusal);
    const EntryTarget target{folder, addressCommand, LabelOf(places, folder)};
    files_ = ScriptEntryFiles(places, target);
    for (EntryFile& file : NamedEntryFiles(places, target)) {
        if (StateOf(file.path).kind != FileState::Kind::Absent && !IsOurs(file.path, file.mark))
            throw Refusal("« " + file.path.string() +
                          " » existe déjà et n'a pas été ajouté par lirvane-deploy pour ce "
                          "dossier : il est gardé, aucune entrée de menu n'est ajoutée");
        files_.push_back(std::move(file));
    }
    thunarFile_ = ThunarActionsFile(places);
    thunarText_ = ThunarActionsWith(places, thunarFile_, ThunarEntry(target));
    // Thunar's XML reader stops at a byte-order mark; the user's text is theirs to mend.
    if (thunarText_.starts_with("\xEF\xBB\xBF"))
        warning_ = "« " + thunarFile_.string() +
                   " » commence par une marque d'ordre des octets (BOM), que Thunar ne sait pas "
                   "lire : ni ses actions ni celle-ci n'y paraissent tant qu'elle y est";
}

void MenuEntries::Add(Changes& changes) const {
    for (const EntryFile& file : files_)
        changes.Put(file.path, file.content, file.mode);
    changes.Put(thunarFile_, thunarText_);
}

std::vector<std::string> MenuEntries::Files() const {
    std::vector<std::string> files;
    for (const EntryFile& file : files_)
        files.push_back(file.path.string());
    files.push_back(thunarFile_.string());
    return files;
}

void RemoveMenuEntries(const std::string& givenFolder) {
    const std::string folder = mdCode::RealPath(givenFolder, mdCode::CurrentFolder());
    const UserPlaces places = CurrentUserPlaces();
    const EntryTarget target{folder, {}, {}};
    Changes changes;
    std::vector<fs::path> removed = ScriptsOf(places, folder);
    for (const EntryFile& file : NamedEntryFiles(places, target)) {
        if (IsOurs(file.path, file.mark))
            removed.push_back(file.path);
    }
    for (const fs::path& file : removed)
        changes.Remove(file);
    const fs::path thunarFile = ThunarActionsFile(places);
    const bool thunarChanged = RemoveThunarAction(changes, places, thunarFile, EntryId(folder));
    changes.Commit();
    for (const fs::path& file : removed)
        std::cout << "Supprimé : " << file.string() << std::endl;
    if (thunarChanged)
        std::cout << "Action retirée de « " << thunarFile.string() << " »" << std::endl;
    if (removed.empty() && !thunarChanged)
        std::cout << "Aucune entrée de menu pour « " << givenFolder << " »." << std::endl;
}

} // namespace deploy

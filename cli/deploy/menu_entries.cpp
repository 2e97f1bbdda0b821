#include "cli/deploy/menu_entries.h"

#include "cli/deploy/entry_names.h"
#include "cli/deploy/refusal.h"
#include "cli/deploy/thunar_actions.h"
#include "paths/resolved_path.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sys/stat.h>

namespace deploy {
namespace {

namespace fs = std::filesystem;

// A file as it stands in the user's folders: absent, a regular file and its bytes, or a link.
struct Found {
    enum class Kind { Absent, File, Link, Other } kind = Kind::Absent;
    std::string bytes;
    fs::path target;
};

Found Look(const fs::path& path) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0)
        return {};
    if (S_ISLNK(status.st_mode)) {
        std::error_code error;
        return {Found::Kind::Link, {}, fs::read_symlink(path, error)};
    }
    if (!S_ISREG(status.st_mode))
        return {Found::Kind::Other, {}, {}};
    std::ifstream file(path, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (!file.is_open() || file.bad())
        throw Refusal("« " + path.string() +
                      " » n'est pas un fichier lisible : aucune entrée de menu n'est ajoutée");
    return {Found::Kind::File, std::move(bytes), {}};
}

bool HoldsLine(const std::string& text, const std::string& line) {
    return ("\n" + text + "\n").find("\n" + line + "\n") != std::string::npos;
}

// Whether the file is an entry that lirvane-deploy wrote for the folder.
bool IsOurs(const fs::path& path, const std::string& mark) {
    const Found found = Look(path);
    return found.kind == Found::Kind::File && HoldsLine(found.bytes, mark);
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
            free = free &&
                   (Look(script).kind == Found::Kind::Absent || IsOurs(script, EntryMark(folder)));
        }
        if (free)
            return label;
    }
    throw Refusal("aucun nom libre pour les scripts de Nautilus et de Caja");
}

// What Thunar's actions file was before the first action went in, as our record says it, when it
// held none of the user's: absent, empty or a link. A link's target is written with "%XX" for
// each byte that a comment may not hold as it is.
std::string Encoded(const std::string& target) {
    std::string encoded;
    for (const char byte : target) {
        const auto code = static_cast<unsigned char>(byte);
        if (code <= 0x20 || code >= 0x7F || byte == '%' || byte == '-' || byte == '<') {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", code);
            encoded += escaped;
        } else {
            encoded += byte;
        }
    }
    return encoded;
}

std::string Decoded(const std::string& encoded) {
    std::string decoded;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        unsigned code = 0;
        if (encoded[i] == '%' && i + 2 < encoded.size() &&
            std::sscanf(encoded.c_str() + i + 1, "%2x", &code) == 1) {
            decoded += static_cast<char>(code);
            i += 2;
        } else {
            decoded += encoded[i];
        }
    }
    return decoded;
}

const std::string Absent = "absent";
const std::string Empty = "empty";
const std::string LinkTo = "link ";

// The bytes that Thunar read before, which the file holds again once our actions are gone.
std::string ReadBefore(const UserPlaces& places, const Found& found) {
    if (found.kind == Found::Kind::Link)
        return Look(found.target.is_absolute()
                        ? found.target
                        : ThunarActionsFile(places).parent_path() / found.target)
            .bytes;
    return found.bytes;
}

std::string SystemActions(const UserPlaces& places) {
    const fs::path system = SystemThunarActionsFile(places);
    return system.empty() ? "" : Look(system).bytes;
}

std::string MergedThunarActions(const UserPlaces& places, const fs::path& file,
                                const ThunarAction& action) {
    const Found found = Look(file);
    std::string base;
    std::string record;
    switch (found.kind) {
    case Found::Kind::File:
        base = found.bytes;
        record = found.bytes.empty() ? Empty : "";
        break;
    case Found::Kind::Absent:
        // Thunar reads the system's actions while the user has none of their own: they are kept.
        base = SystemActions(places);
        record = Absent;
        break;
    case Found::Kind::Link:
        base = ReadBefore(places, found);
        record = LinkTo + Encoded(found.target.string());
        break;
    case Found::Kind::Other:
        throw Refusal("« " + file.string() +
                      " » n'est pas un fichier ordinaire : aucune entrée de "
                      "menu n'est ajoutée");
    }
    try {
        return WithThunarAction(base, action, record);
    } catch (const UnreadableThunarActions& error) {
        throw Refusal("« " + file.string() + " » ne peut pas recevoir l'action : " + error.what());
    }
}

// Thunar's actions file without our action: what it was before the first one went in, where
// that is known and nothing else has changed the file since. Whether the file holds our action.
bool RemoveThunarAction(Changes& changes, const UserPlaces& places, const fs::path& file,
                        const std::string& uniqueId) {
    const Found found = Look(file);
    if (found.kind != Found::Kind::File)
        return false;
    std::string after;
    std::optional<std::string> record;
    try {
        after = WithoutThunarAction(found.bytes, uniqueId);
        record = ThunarRecord(found.bytes);
        if (record && ThunarRecord(after))
            record.reset();
    } catch (const UnreadableThunarActions& error) {
        throw Refusal("« " + file.string() + " » ne peut pas être lu : " + error.what());
    }
    if (after == found.bytes)
        return false;
    const bool asCreated = after == EmptyThunarActions();
    if (record == Absent && (asCreated || after == SystemActions(places))) {
        changes.Remove(file);
    } else if (record == Empty && asCreated) {
        changes.Put(file, "");
    } else if (record && record->starts_with(LinkTo)) {
        const fs::path target = Decoded(record->substr(LinkTo.size()));
        const std::string linked = ReadBefore(places, {Found::Kind::Link, {}, target});
        if (after == (linked.empty() ? EmptyThunarActions() : linked))
            changes.Link(file, target);
        else
            changes.Put(file, after);
    } else {
        changes.Put(file, after);
    }
    return true;
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
        if (Look(file.path).kind != Found::Kind::Absent && !IsOurs(file.path, file.mark))
            throw Refusal("« " + file.path.string() +
                          " » existe déjà et n'a pas été ajouté par lirvane-deploy pour ce "
                          "dossier : il est gardé, aucune entrée de menu n'est ajoutée");
        files_.push_back(std::move(file));
    }
    thunarFile_ = ThunarActionsFile(places);
    thunarText_ = MergedThunarActions(places, thunarFile_, ThunarEntry(target));
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

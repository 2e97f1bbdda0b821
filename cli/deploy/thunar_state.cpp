#include "cli/deploy/thunar_state.h"

#include "cli/deploy/file_state.h"
#include "cli/deploy/menu_entry_files.h"
#include "cli/deploy/refusal.h"

#include <cstdio>
#include <optional>

namespace deploy {
namespace {

namespace fs = std::filesystem;

// What the file was, as our record says it.
const std::string Absent = "absent";
const std::string Empty = "empty";
const std::string LinkTo = "link ";

// A link's target in the record: "%XX" for each byte that a comment may not hold as it is.
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

// What Thunar reads through a link in the file's place; empty where it leads nowhere.
std::string LinkedActions(const UserPlaces& places, const fs::path& target) {
    const fs::path linked =
        target.is_absolute() ? target : ThunarActionsFile(places).parent_path() / target;
    return StateOf(linked).bytes.value_or("");
}

// What Thunar reads while the user has no actions file of their own.
std::string SystemActions(const UserPlaces& places) {
    const fs::path system = SystemThunarActionsFile(places);
    return system.empty() ? "" : StateOf(system).bytes.value_or("");
}

} // namespace

std::string ThunarActionsWith(const UserPlaces& places, const fs::path& file,
                              const ThunarAction& action) {
    const FileState found = MenuFileState(file);
    std::string base;
    std::string record;
    switch (found.kind) {
    case FileState::Kind::File:
        base = *found.bytes;
        record = base.empty() ? Empty : "";
        break;
    case FileState::Kind::Absent:
        // The system's actions, which Thunar read, are kept.
        base = SystemActions(places);
        record = Absent;
        break;
    case FileState::Kind::Link:
        base = LinkedActions(places, found.target);
        record = LinkTo + Encoded(found.target.string());
        break;
    case FileState::Kind::Other:
        throw Refusal("« " + file.string() +
                      " » n'est pas un fichier ordinaire : aucune entrée de menu n'est ajoutée");
    }
    try {
        return WithThunarAction(base, action, record);
    } catch (const UnreadableThunarActions& error) {
        throw Refusal("« " + file.string() + " » ne peut pas recevoir l'action : " + error.what());
    }
}

bool RemoveThunarAction(Changes& changes, const UserPlaces& places, const fs::path& file,
                        const std::string& uniqueId) {
    const FileState found = MenuFileState(file);
    if (found.kind != FileState::Kind::File)
        return false;
    std::string after;
    std::optional<std::string> record;
    try {
        after = WithoutThunarAction(*found.bytes, uniqueId);
        // A record still there: another folder's action is left.
        record = ThunarRecord(*found.bytes);
        if (record && ThunarRecord(after))
            record.reset();
    } catch (const UnreadableThunarActions& error) {
        throw Refusal("« " + file.string() + " » ne peut pas être lu : " + error.what());
    }
    if (after == *found.bytes)
        return false;
    const bool asStarted = after == EmptyThunarActions();
    if (record == Absent && (asStarted || after == SystemActions(places))) {
        changes.Remove(file);
    } else if (record == Empty && asStarted) {
        changes.Put(file, "");
    } else if (record && record->starts_with(LinkTo)) {
        const fs::path target = Decoded(record->substr(LinkTo.size()));
        const std::string linked = LinkedActions(places, target);
        if (after == (linked.empty() ? EmptyThunarActions() : linked))
            changes.Link(file, target);
        else
            changes.Put(file, after);
    } else {
        changes.Put(file, after);
    }
    return true;
}

} // namespace deploy

#pragma once

#include "cli/deploy/changes.h"
#include "cli/deploy/menu_entry_files.h"
#include "cli/deploy/user_places.h"

#include <filesystem>
#include <string>
#include <vector>

// The file managers' "Copier l'adresse web" entries of a deployed folder, added for the user who
// runs the command and removed again; the user's own entries are never replaced or removed.
namespace deploy {

class MenuEntries final {
public:
    // Works out every entry before anything is changed: throws Refusal, saying why in French,
    // when one cannot be written. `folder` is the folder's full path.
    MenuEntries(const UserPlaces& places, const std::string& folder,
                const std::string& addressCommand);

    // Adds the changes that write each entry not already there as it would be.
    void Add(Changes& changes) const;
    // The files that hold the entries once the changes are made.
    std::vector<std::string> Files() const;
    // What keeps an entry from showing although it is written, in French; empty when nothing.
    const std::string& Warning() const { return warning_; }

private:
    std::vector<EntryFile> files_;
    std::filesystem::path thunarFile_;
    std::string thunarText_;
    std::string warning_;
};

// Removes the entries added for the folder as given, and nothing of the user's own; Thunar's
// actions file becomes what it was before the first entry went in, where nothing else has
// changed it since. Says what it did. Throws FileError or Refusal.
void RemoveMenuEntries(const std::string& givenFolder);

} // namespace deploy

#pragma once

#include "cli/file_manager_entries.h"

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

// The file managers' "Copier l'adresse web" entries of a deployed folder, added for the user who
// runs the command and removed again.
namespace deploy {

class FileManagerEntries final {
public:
    // Checks, before anything is changed, that every entry can be written: throws Refusal,
    // saying why in French. `folder` is the folder's full path.
    FileManagerEntries(const std::string& folder, const std::string& addressCommand);

    // Writes each entry that is not already there as it would be; the files that hold them.
    // Throws std::system_error, once it has removed the entries it added.
    std::vector<std::string> Write() const;

private:
    std::vector<EntryFile> files_;
    std::filesystem::path thunarFile_;
    std::string thunarBefore_;
    std::string thunarAfter_;
    mode_t thunarMode_ = 0644;
};

// Removes the entries added for the folder as given, and nothing of the user's own; says what it
// did. Throws std::system_error, or Refusal when Thunar's actions file cannot be read.
void RemoveFileManagerEntries(const std::string& givenFolder);

} // namespace deploy

#include "cli/deploy_file_manager.h"

#include "cli/deploy_launcher.h"
#include "cli/deploy_refusal.h"
#include "cli/deploy_staged_file.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace deploy {
namespace {

namespace fs = std::filesystem;

// The file's bytes; none when it does not exist. Throws Refusal when it cannot be read.
std::optional<std::string> ReadIfPresent(const fs::path& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    std::ifstream file(path, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (!S_ISREG(status.st_mode) || file.bad() || !file.is_open()) {
        throw Refusal("« " + path.string() +
                      " » n'est pas un fichier lisible : aucune entrée de menu n'est ajoutée");
    }
    return bytes;
}

bool HoldsLine(const std::string& text, const std::string& line) {
    return ("\n" + text + "\n").find("\n" + line + "\n") != std::string::npos;
}

// The file can be made: its nearest existing folder can be written into.
void RefuseUnlessWritable(const fs::path& file) {
    fs::path folder = file.parent_path();
    std::error_code error;
    while (!fs::exists(folder, error) && folder.has_relative_path()) {
        folder = folder.parent_path();
    }
    if (!fs::is_directory(folder, error) || access(folder.c_str(), W_OK | X_OK) != 0) {
        throw Refusal("impossible d'écrire dans « " + folder.string() +
                      " » : aucune entrée de menu n'est ajoutée");
    }
}

void RefuseFolderName(const std::string& folder) {
    switch (FaultOfFolderName(folder)) {
    case FolderNameFault::ControlCharacter:
        throw Refusal("une entrée de menu ne peut pas nommer un dossier dont le chemin contient "
                      "des caractères de contrôle");
    case FolderNameFault::NotUtf8:
        throw Refusal("une entrée de menu demande un chemin de dossier en UTF-8");
    case FolderNameFault::None:
        break;
    }
}

std::string Merged(const fs::path& actionsFile, const std::string& before,
                   const ThunarAction& action) {
    try {
        return WithThunarAction(before, action);
    } catch (const UnreadableThunarActions& error) {
        throw Refusal("« " + actionsFile.string() +
                      " » ne peut pas recevoir l'action : " + error.what());
    }
}

// Replaces the file atomically: written beside it, on the disk, then renamed over it. A link
// (a user's dotfiles kept elsewhere) stays a link: the file it leads to is replaced.
void Replace(const fs::path& given, const std::string& content, mode_t mode) {
    std::error_code error;
    const fs::path path = fs::exists(given, error) ? fs::canonical(given) : given;
    fs::create_directories(path.parent_path());
    StagedFile staged(path.parent_path().string(), mode);
    staged.Write(content);
    staged.Sync();
    staged.Commit(path.string());
}

mode_t ModeOf(const fs::path& path, mode_t otherwise) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : otherwise;
}

} // namespace

FileManagerEntries::FileManagerEntries(const std::string& folder,
                                       const std::string& addressCommand) {
    RefuseFolderName(folder);
    const UserFolders folders = CurrentUserFolders();
    const EntryTarget target{folder, addressCommand};
    files_ = EntryFiles(folders, target);
    for (const EntryFile& file : files_) {
        RefuseUnlessWritable(file.path);
        if (const auto present = ReadIfPresent(file.path);
            present && !HoldsLine(*present, file.mark)) {
            throw Refusal("« " + file.path.string() +
                          " » existe déjà et n'a pas été ajouté par lirvane-deploy pour ce "
                          "dossier : il est gardé, aucune entrée de menu n'est ajoutée");
        }
    }
    thunarFile_ = ThunarActionsFile(folders);
    RefuseUnlessWritable(thunarFile_);
    const std::optional<std::string> own = ReadIfPresent(thunarFile_);
    // Thunar reads the system's actions while the user has none of their own: they are kept.
    const fs::path system = SystemThunarActionsFile(folders);
    thunarBefore_ = own ? *own : system.empty() ? "" : ReadIfPresent(system).value_or("");
    thunarAfter_ = Merged(own ? thunarFile_ : system, thunarBefore_, ThunarEntry(target));
    if (!own) {
        thunarBefore_.clear();
    }
    thunarMode_ = ModeOf(thunarFile_, 0644);
}

std::vector<std::string> FileManagerEntries::Write() const {
    std::vector<std::string> written;
    std::vector<fs::path> added;
    try {
        for (const EntryFile& file : files_) {
            if (ReadIfPresent(file.path) != file.content || ModeOf(file.path, 0) != file.mode) {
                std::error_code error;
                if (!fs::exists(fs::symlink_status(file.path, error))) {
                    added.push_back(file.path);
                }
                Replace(file.path, file.content, file.mode);
            }
            written.push_back(file.path.string());
        }
        if (thunarAfter_ != thunarBefore_) {
            Replace(thunarFile_, thunarAfter_, thunarMode_);
        }
    } catch (const std::system_error&) {
        // A failure leaves none of the entries that this run added; the others were ours already.
        for (const fs::path& path : added) {
            std::error_code ignored;
            fs::remove(path, ignored);
        }
        throw;
    }
    written.push_back(thunarFile_.string());
    return written;
}

void RemoveFileManagerEntries(const std::string& givenFolder) {
    const std::string folder = FullPath(givenFolder);
    const UserFolders folders = CurrentUserFolders();
    const EntryTarget target{folder, {}};
    bool removed = false;
    for (const EntryFile& file : EntryFiles(folders, target)) {
        if (const auto present = ReadIfPresent(file.path);
            present && HoldsLine(*present, file.mark)) {
            fs::remove(file.path);
            std::cout << "Supprimé : " << file.path.string() << std::endl;
            removed = true;
        }
    }
    const fs::path thunarFile = ThunarActionsFile(folders);
    if (const auto before = ReadIfPresent(thunarFile)) {
        std::string after;
        try {
            after = WithoutThunarAction(*before, ThunarEntry(target).uniqueId);
        } catch (const UnreadableThunarActions& error) {
            throw Refusal("« " + thunarFile.string() + " » ne peut pas être lu : " + error.what());
        }
        if (after != *before) {
            Replace(thunarFile, after, ModeOf(thunarFile, 0644));
            std::cout << "Action retirée de « " << thunarFile.string() << " »" << std::endl;
            removed = true;
        }
    }
    if (!removed) {
        std::cout << "Aucune entrée de menu pour « " << givenFolder << " »." << std::endl;
    }
}

} // namespace deploy

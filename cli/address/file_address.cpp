#include "cli/address/file_address.h"

#include "address/stored_address.h"
#include "address/text_helpers.h"
#include "cli/address/deployed_folder.h"
#include "cli/common/shown_text.h"
#include "encoding/utf8.h"
#include "files/file_error.h"
#include "paths/program_path.h"
#include "paths/resolved_path.h"
#include "settings/folder_files.h"
#include "settings/settings_file.h"

#include <cerrno>
#include <sys/stat.h>

namespace address {
namespace {

std::string Shown(const std::u16string& programPath) {
    return cli::ShownPath(mdCode::ToNativeBytes(programPath));
}

// Why the path names no file that a web server gives; empty when it names one. A link counts as
// the file it leads to.
std::string NotAFile(const std::string& path) {
    if (path.empty())
        return "le nom est vide.";
    struct stat own {};
    if (lstat(path.c_str(), &own) != 0)
        return errno == ENOENT
                   ? "ce fichier n'existe pas."
                   : "ce fichier ne peut pas être atteint (" + mdCode::FrenchReason(errno) + ").";
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        return "ce lien symbolique mène à un fichier qui n'existe pas.";
    if (S_ISDIR(status.st_mode))
        return "c'est un dossier, pas un fichier.";
    if (!S_ISREG(status.st_mode))
        return "ce n'est pas un fichier ordinaire (un tube, un périphérique ou une prise).";
    return {};
}

// The file's path and the program folder, both in the program's form.
struct Located {
    std::u16string path;
    std::optional<std::u16string> folder;
};

Located Locate(const std::string& file, const std::optional<std::string>& programFolder) {
    const std::string current = mdCode::CurrentFolder();
    if (programFolder)
        return {mdCode::ToProgramForm(mdCode::ResolvedPath(file, current, *programFolder)),
                mdCode::ToProgramForm(*programFolder)};
    if (const std::optional<std::string> written = mdCode::WrittenPath(file, current)) {
        const std::u16string path = mdCode::ToProgramForm(*written);
        if (std::optional<std::u16string> folder = DeployedFolderOf(path))
            return {path, std::move(folder)};
    }
    const std::u16string path = mdCode::ToProgramForm(mdCode::ResolvedPath(file, current));
    return {path, DeployedFolderOf(path)};
}

} // namespace

AddressOrFailure AddressOfFile(const std::string& file,
                               const std::optional<std::string>& programFolder,
                               mdCode::AddressRule rule) {
    const auto failure = [&file](const std::string& cause) {
        return AddressOrFailure{
            std::nullopt, "« " + cli::ShownPath(file) + " » : " + cause, {}, {}};
    };
    if (const std::string cause = NotAFile(file); !cause.empty())
        return failure(cause);
    const Located located = Locate(file, programFolder);
    if (!located.folder)
        return failure("ce fichier n'est dans aucun dossier où Lirvane est déployé (aucun dossier "
                       "au-dessus de lui ne contient à la fois lirvane et PARAM.ini).");

    const std::u16string settingsFile =
        mdCode::AddBackslash(*located.folder) + mdCode::FromUtf8(mdCode::SettingsFileName);
    mdCode::StoredAddress base;
    try {
        base = mdCode::StoredBaseAddress(mdCode::ReadTextFile(settingsFile));
    } catch (const mdCode::FileError& error) {
        return failure("l'adresse de base ne peut pas être lue : " + cli::ShownPath(error.what()) +
                       ".");
    }
    if (base.refusal != mdCode::StoredAddress::Refusal::None)
        return failure("« " + Shown(settingsFile) + " » " +
                       mdCode::ToUtf8(mdCode::SettingsFileProblem(base)) + ".");

    std::optional<std::u16string> address =
        mdCode::DroppedFileAddress(*located.folder, base.address, located.path, rule);
    if (!address)
        return failure("ce fichier n'est pas dans le dossier « " + Shown(*located.folder) + " ».");
    return {std::move(address),
            {},
            mdCode::ToNativeBytes(located.path),
            mdCode::ToNativeBytes(*located.folder)};
}

} // namespace address

#include "cli/file_address.h"

#include "address/text_helpers.h"
#include "cli/deployed_folder.h"
#include "cli/shown_path.h"
#include "paths/program_path.h"
#include "paths/resolved_path.h"
#include "settings/settings_file.h"
#include "settings/settings_file_name.h"

#include <filesystem>

namespace cli {
namespace {

std::string Shown(const std::u16string& programPath) {
    return ShownPath(mdCode::ToNativeBytes(programPath));
}

// A link counts as found, whatever it points to: a drop would give its own name.
bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(path, error));
}

} // namespace

AddressOrFailure AddressOfFile(const std::string& file,
                               const std::optional<std::u16string>& programFolder,
                               mdCode::AddressRule rule) {
    const auto failure = [&file](const std::string& cause) {
        return AddressOrFailure{std::nullopt, "« " + ShownPath(file) + " » : " + cause};
    };
    const std::string resolved = mdCode::ResolvedPath(file, mdCode::CurrentFolder());
    if (!Exists(resolved))
        return failure("ce fichier n'existe pas.");
    const std::u16string path = mdCode::ToProgramForm(resolved);
    const std::optional<std::u16string> folder =
        programFolder ? programFolder : DeployedFolderOf(path);
    if (!folder)
        return failure("ce fichier n'est dans aucun dossier où Lirvane est déployé (aucun dossier "
                       "au-dessus de lui ne contient à la fois lirvane et PARAM.ini).");

    const std::u16string settingsFile =
        mdCode::AddBackslash(*folder) + std::u16string(mdCode::SettingsFileName);
    std::u16string baseUrl;
    try {
        baseUrl = mdCode::ReadTextFile(settingsFile).value_or(u"");
    } catch (const mdCode::FileError& error) {
        return failure("l'adresse de base ne peut pas être lue : " + ShownPath(error.what()) + ".");
    }
    if (baseUrl.empty())
        return failure("« " + Shown(settingsFile) + " » ne donne aucune adresse de base.");

    std::optional<std::u16string> address =
        mdCode::DroppedFileAddress(*folder, baseUrl, path, rule);
    if (!address)
        return failure("ce fichier n'est pas dans le dossier « " + Shown(*folder) + " ».");
    return {std::move(address), {}};
}

} // namespace cli

#include "cli/address/deployed_folder.h"

#include "address/text_helpers.h"
#include "paths/program_path.h"
#include "settings/folder_files.h"
#include "settings/settings_file.h"

#include <string_view>
#include <sys/stat.h>

namespace address {
namespace {

bool HoldsDeployedProgram(const std::u16string& folder) {
    const std::string inside = mdCode::ToNativeBytes(mdCode::AddBackslash(folder));
    struct stat settings {};
    return mdCode::FileExists(mdCode::ToProgramForm(inside + mdCode::ProgramFileName)) &&
           lstat((inside + mdCode::SettingsFileName).c_str(), &settings) == 0;
}

} // namespace

std::optional<std::u16string> DeployedFolderOf(const std::u16string& path) {
    std::u16string folder = path;
    for (std::size_t separator; (separator = folder.rfind(u'\\')) != std::u16string::npos;) {
        folder.resize(separator);
        const std::u16string candidate = folder.empty() ? u"\\" : folder;
        if (HoldsDeployedProgram(candidate))
            return candidate;
    }
    return std::nullopt;
}

} // namespace address

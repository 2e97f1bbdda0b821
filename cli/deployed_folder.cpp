#include "cli/deployed_folder.h"

#include "address/text_helpers.h"
#include "settings/settings_file.h"
#include "settings/settings_file_name.h"

#include <string_view>

namespace cli {
namespace {

// The name lirvane-deploy gives the program in a web folder.
constexpr std::u16string_view ProgramFileName = u"lirvane";

bool HoldsDeployedProgram(const std::u16string& folder) {
    const std::u16string inside = mdCode::AddBackslash(folder);
    return mdCode::FileExists(inside + std::u16string(ProgramFileName)) &&
           mdCode::FileExists(inside + std::u16string(mdCode::SettingsFileName));
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

} // namespace cli

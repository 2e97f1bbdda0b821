#include "settings/settings_file.h"

#include "paths/normal_file.h"
#include "paths/program_path.h"

#include <dirent.h>
#include <filesystem>
#include <fnmatch.h>
#include <memory>

namespace mdCode {
namespace {

bool IsPattern(const std::string& name) {
    return name.find_first_of("*?") != std::string::npos;
}

// Only "*" and "?" are wildcards; "[" names itself, as it does in a Windows file pattern.
std::string FnmatchPattern(const std::string& name) {
    std::string pattern;
    for (const char character : name) {
        if (character == '[') {
            pattern += '\\';
        }
        pattern += character;
    }
    return pattern;
}

struct CloseFolder {
    void operator()(DIR* directory) const { closedir(directory); }
};

bool FolderHoldsNormalFileMatching(const std::filesystem::path& folder, const std::string& name) {
    const std::unique_ptr<DIR, CloseFolder> directory(
        opendir(folder.empty() ? "." : folder.c_str()));
    if (!directory) {
        return false;
    }
    const std::string pattern = FnmatchPattern(name);
    while (const dirent* entry = readdir(directory.get())) {
        if (fnmatch(pattern.c_str(), entry->d_name, 0) == 0 &&
            IsNormalFileEntry(dirfd(directory.get()), entry->d_name, entry->d_type)) {
            return true;
        }
    }
    return false;
}

} // namespace

bool FileExists(const std::u16string& path) {
    if (path.empty() || path.back() == u'\\') {
        return false;
    }
    try {
        const std::filesystem::path file = ToNativePath(path);
        const std::string name = file.filename().string();
        return IsPattern(name) ? FolderHoldsNormalFileMatching(file.parent_path(), name)
                               : IsNormalFile(file);
    } catch (...) {
        return false;
    }
}

} // namespace mdCode

#include "paths/resolved_path.h"

#include <algorithm>
#include <filesystem>

namespace mdCode {
namespace {

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// The path made absolute from the folder, as text.
std::string Absolute(std::string_view path, std::string_view currentFolder) {
    if (path.starts_with('/'))
        return std::string(path);
    const std::string folder = WithoutTrailingSlashes(std::string(currentFolder));
    return (folder == "/" ? "" : folder) + "/" + std::string(path);
}

// The absolute path with every link resolved, by the system, as far as it exists.
std::string ResolvedBySystem(const std::string& path) {
    std::error_code error;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
    if (error)
        resolved = std::filesystem::path(path).lexically_normal();
    return WithoutTrailingSlashes(resolved.string());
}

} // namespace

std::string ResolvedPath(std::string_view path, std::string_view currentFolder,
                         std::string_view programFolder) {
    return PathResolver(currentFolder, programFolder).Resolved(path);
}

PathResolver::PathResolver(std::string_view currentFolder, std::string_view programFolder)
    : currentFolder_(WithoutTrailingSlashes(std::string(currentFolder))),
      programFolder_(programFolder) {
    if (currentFolder_ == "/")
        currentFolder_.clear();
}

std::string PathResolver::Resolved(std::string_view path) {
    if (!programFolder_.empty()) {
        if (std::optional<std::string> written = WrittenPath(path, currentFolder_);
            written && IsBelow(programFolder_, *written))
            return std::move(*written);
    }
    std::string absolute;
    if (!path.starts_with('/'))
        absolute = currentFolder_ + "/";
    absolute += path;
    absolute = WithoutTrailingSlashes(std::move(absolute));

    const std::size_t nameStart = absolute.rfind('/') + 1;
    const std::string_view name = std::string_view(absolute).substr(nameStart);
    if (name.empty() || name == "." || name == "..")
        return ResolvedBySystem(absolute);
    const std::string& folder = RealFolder(std::string_view(absolute).substr(0, nameStart));
    std::string resolved;
    resolved.reserve(folder.size() + 1 + name.size());
    if (folder != "/")
        resolved = folder;
    resolved += '/';
    resolved += name;
    return resolved;
}

const std::string& PathResolver::RealFolder(std::string_view folder) {
    auto known = realFolders_.find(folder);
    if (known == realFolders_.end())
        known =
            realFolders_.emplace(std::string(folder), ResolvedBySystem(std::string(folder))).first;
    return known->second;
}

// One pass over the text: the paths of a drop of thousands of files come here, most of them
// absolute and clean already.
std::optional<std::string> WrittenPath(std::string_view path, std::string_view currentFolder) {
    if (path.starts_with('/') && path.find("//") == std::string_view::npos &&
        path.find("/.") == std::string_view::npos && (path.size() == 1 || !path.ends_with('/')))
        return std::string(path);
    const std::string absolute = Absolute(path, currentFolder);
    std::string written;
    written.reserve(absolute.size());
    for (std::size_t start = 0; start < absolute.size();) {
        const std::size_t end = std::min(absolute.find('/', start), absolute.size());
        const std::string_view part = std::string_view(absolute).substr(start, end - start);
        if (part == "..")
            return std::nullopt;
        if (!part.empty() && part != ".") {
            written += '/';
            written += part;
        }
        start = end + 1;
    }
    return written.empty() ? "/" : written;
}

std::string RealPath(std::string_view path, std::string_view currentFolder) {
    return ResolvedBySystem(WithoutTrailingSlashes(Absolute(path, currentFolder)));
}

bool IsBelow(std::string_view folder, std::string_view path) {
    const bool endsWithSlash = folder.ends_with('/');
    const std::size_t prefix = folder.size() + (endsWithSlash ? 0 : 1);
    return path.size() > prefix && path.starts_with(folder) &&
           (endsWithSlash || path[folder.size()] == '/');
}

std::string CurrentFolder() {
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    return error ? "/" : current.string();
}

std::optional<std::string> ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return std::nullopt;
    return executable.parent_path().string();
}

} // namespace mdCode

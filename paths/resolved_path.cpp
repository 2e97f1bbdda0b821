#include "paths/resolved_path.h"

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace mdCode {
namespace {

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// The path with every link resolved, by the system; by its text when it does not exist.
std::string ResolvedBySystem(const std::string& path) {
    const std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr),
                                                           &std::free);
    if (real)
        return real.get();
    return WithoutTrailingSlashes(std::filesystem::path(path).lexically_normal().string());
}

} // namespace

std::string ResolvedPath(std::string_view path, std::string_view currentFolder) {
    return PathResolver(currentFolder).Resolved(path);
}

PathResolver::PathResolver(std::string_view currentFolder)
    : currentFolder_(WithoutTrailingSlashes(std::string(currentFolder))) {
    if (currentFolder_ == "/")
        currentFolder_.clear();
}

std::string PathResolver::Resolved(std::string_view path) {
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

std::string RealPath(std::string_view path, std::string_view currentFolder) {
    std::string absolute(path);
    if (!absolute.starts_with('/')) {
        const std::string folder = WithoutTrailingSlashes(std::string(currentFolder));
        absolute = (folder == "/" ? "" : folder) + "/" + absolute;
    }
    return ResolvedBySystem(WithoutTrailingSlashes(std::move(absolute)));
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

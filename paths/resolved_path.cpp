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

std::string Absolute(std::string_view path, std::string_view currentFolder) {
    std::string absolute(path);
    if (!absolute.starts_with('/')) {
        const std::string folder = WithoutTrailingSlashes(std::string(currentFolder));
        absolute = (folder == "/" ? "" : folder) + "/" + absolute;
    }
    return WithoutTrailingSlashes(std::move(absolute));
}

} // namespace

std::string ResolvedPath(std::string_view path, std::string_view currentFolder) {
    const std::string absolute = Absolute(path, currentFolder);

    const std::size_t lastSlash = absolute.rfind('/');
    const std::string name = absolute.substr(lastSlash + 1);
    if (name.empty() || name == "." || name == "..")
        return ResolvedBySystem(absolute);
    const std::string folder = ResolvedBySystem(absolute.substr(0, lastSlash + 1));
    return (folder == "/" ? "" : folder) + "/" + name;
}

std::string RealPath(std::string_view path, std::string_view currentFolder) {
    return ResolvedBySystem(Absolute(path, currentFolder));
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

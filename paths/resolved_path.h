#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace mdCode {

// A native path as the program compares it with its folder: absolute (a relative path is taken
// from `currentFolder`), with ".", ".." and doubled "/" resolved, and symbolic links resolved in
// its folder part only, so that a link that is itself the named file keeps its own name. A
// folder part that does not exist is resolved by its text alone.
std::string ResolvedPath(std::string_view path, std::string_view currentFolder);

// Resolves many paths as ResolvedPath does, asking the system for the real path of each distinct
// folder part once: the files of one drop mostly share their folder. For paths taken at one
// moment; a link changed meanwhile is not seen.
class PathResolver final {
public:
    explicit PathResolver(std::string_view currentFolder);

    std::string Resolved(std::string_view path);

private:
    const std::string& RealFolder(std::string_view folder);

    std::string currentFolder_;
    std::map<std::string, std::string, std::less<>> realFolders_;
};

// A native path as the system names the program's own folder: absolute (a relative path is taken
// from `currentFolder`), with every link resolved, its last part's included. A path that does
// not exist is resolved by its text alone.
std::string RealPath(std::string_view path, std::string_view currentFolder);

// The folder the process runs in; "/" when it cannot be had.
std::string CurrentFolder();

// The real folder of the running executable, as native bytes: the system gives its path with
// every link resolved and every byte kept. None when the system does not tell.
std::optional<std::string> ExecutableFolder();

} // namespace mdCode

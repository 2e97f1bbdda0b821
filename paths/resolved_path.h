#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace mdCode {

// A native path as the program compares it with its folder: absolute (a relative path is taken
// from `currentFolder`), with ".", ".." and doubled "/" resolved, and symbolic links resolved in
// its folder part only, so that a link that is itself the named file keeps its own name. A
// folder part that does not exist is resolved as far as it exists, the rest by its text.
//
// A path that lies below `programFolder` (a real path) as it is written, without "..", is kept
// as written: a link inside the folder to a folder elsewhere (videos -> /data/videos) keeps its
// name, as the web server serves the file under it.
std::string ResolvedPath(std::string_view path, std::string_view currentFolder,
                         std::string_view programFolder = {});

// Resolves many paths as ResolvedPath does, asking the system for the real path of each distinct
// folder part once: the files of one drop mostly share their folder. For paths taken at one
// moment; a link changed meanwhile is not seen.
class PathResolver final {
public:
    explicit PathResolver(std::string_view currentFolder, std::string_view programFolder = {});

    std::string Resolved(std::string_view path);

private:
    const std::string& RealFolder(std::string_view folder);

    std::string currentFolder_;
    std::string programFolder_;
    std::map<std::string, std::string, std::less<>> realFolders_;
};

// The path absolute, "." and doubled "/" removed, no link resolved; none when it holds "..",
// which the system takes after the links before it, not after their names.
std::optional<std::string> WrittenPath(std::string_view path, std::string_view currentFolder);

// A native path as the system names the program's own folder: absolute (a relative path is taken
// from `currentFolder`), with every link resolved, its last part's included, as far as the path
// exists; the rest by its text. No "/" at its end.
std::string RealPath(std::string_view path, std::string_view currentFolder);

// Whether `path` lies below `folder`, component by component; both absolute.
bool IsBelow(std::string_view folder, std::string_view path);

// The folder the process runs in; "/" when it cannot be had.
std::string CurrentFolder();

// The real folder of the running executable, as native bytes: the system gives its path with
// every link resolved and every byte kept. None when the system does not tell.
std::optional<std::string> ExecutableFolder();

} // namespace mdCode

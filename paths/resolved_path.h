#pragma once

#include <string>
#include <string_view>

namespace mdCode {

// A native path as the program compares it with its folder: absolute (a relative path is taken
// from `currentFolder`), with ".", ".." and doubled "/" resolved, and symbolic links resolved in
// its folder part only, so that a link that is itself the named file keeps its own name. A
// folder part that does not exist is resolved by its text alone.
std::string ResolvedPath(std::string_view path, std::string_view currentFolder);

// The folder the process runs in; "/" when it cannot be had.
std::string CurrentFolder();

} // namespace mdCode

#pragma once

#include <optional>
#include <string>

namespace cli {

// The folder Lirvane is deployed in that holds the file at `path`: the nearest folder, from the
// file's own folder upward, that holds both the program and its settings file. Program form.
std::optional<std::u16string> DeployedFolderOf(const std::u16string& path);

} // namespace cli

#pragma once

#include <optional>
#include <string>

namespace address {

// The folder Lirvane is deployed in that holds the file at `path`: the nearest folder, from the
// file's own folder upward, that holds both the program and its settings file, whatever the
// settings file is (reading it then says what is wrong with it). Program form.
std::optional<std::u16string> DeployedFolderOf(const std::u16string& path);

} // namespace address

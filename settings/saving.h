#pragma once

#include "files/file_system.h"

#include <filesystem>
#include <string_view>

namespace mdCode {

// Saves `bytes` as `file`, as WriteTextFile does, through the file operations of `system`.
// Throws FileError.
void SaveFile(FileSystem& system, const std::filesystem::path& file, std::string_view bytes);

} // namespace mdCode

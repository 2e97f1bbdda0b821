#pragma once

#include <filesystem>

// What the program counts as a normal file, alike for the file list and for FileExists: a name
// that does not begin with "." (the hidden files of POSIX systems; "." and ".." are none), and a
// regular file or a symbolic link to one.
namespace mdCode {

// Whether the entry `name` of the open folder `folder` is a normal file. `type` is the entry
// type readdir gives (DT_REG, DT_LNK, ..., DT_UNKNOWN on file systems that do not tell): a
// regular file is known from it without a look at the file.
bool IsNormalFileEntry(int folder, const char* name, unsigned char type);

// Whether the path names a normal file.
bool IsNormalFile(const std::filesystem::path& file);

} // namespace mdCode

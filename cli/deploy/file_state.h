#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>

namespace deploy {

// A file as it stands, links not followed: none, a regular file (with its bytes, when they can
// be read, and its permission bits), a symbolic link (with its target), or something else (a
// folder, a FIFO, a device).
struct FileState {
    enum class Kind { Absent, File, Link, Other } kind = Kind::Absent;
    std::optional<std::string> bytes;
    mode_t mode = 0;
    std::filesystem::path target;
};

FileState StateOf(const std::filesystem::path& file);

// The state of a file of the user's menus, which decides how an entry is written: throws Refusal
// when it is a file that cannot be read.
FileState MenuFileState(const std::filesystem::path& file);

} // namespace deploy

#pragma once

#include "files/file_error.h"

#include <optional>
#include <string>

// The settings file operations. Paths are in the program's form (see program_path.h).
// FileExists is in file_exists.cpp, ReadTextFile in reading.cpp, WriteTextFile in saving.cpp.
namespace mdCode {

// True when the path names a normal file (see normal_file.h). Never fails.
bool FileExists(const std::u16string& path);

// The file's items joined by CR LF; no value for a file that holds none. Only a regular file is
// read, and a symbolic link only to a regular file inside the link's own folder. Throws
// FileError.
std::optional<std::u16string> ReadTextFile(const std::u16string& path);

// Replaces the file with one line: the text and CR LF, through a hidden file renamed over it,
// so that the old file stays intact until the new one is complete; it keeps its permissions and
// group. Where the folder cannot be written but the file can, the file is rewritten in place,
// once room for the new content is reserved. Throws FileError naming the file, or the folder
// when neither way works.
void WriteTextFile(const std::u16string& path, const std::u16string& text);

// The bytes that WriteTextFile writes for the text: it in Windows-1252, then CR LF.
std::string SettingsFileBytes(const std::u16string& text);

} // namespace mdCode

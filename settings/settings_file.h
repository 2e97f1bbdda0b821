#pragma once

#include <optional>
#include <stdexcept>
#include <string>

// The settings file operations. Paths are in the program's form (see program_path.h).
namespace mdCode {

// A file that could not be opened, read or written; the message names the file and the reason.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// True when the path names a normal file: not hidden, not a folder. "*" and "?" in the last
// component are a pattern. Never fails.
bool FileExists(const std::u16string& path);

// The file's items joined by CR LF; no value for a file that holds none. Throws FileError.
std::optional<std::u16string> ReadTextFile(const std::u16string& path);

// Replaces the file with one line: the text and CR LF, through a hidden file renamed over it,
// so that the old file stays intact until the new one is complete; it keeps its permissions and
// group. Where the folder cannot be written but the file can, the file is rewritten in place.
// Throws FileError naming the file, or the folder when neither way works.
void WriteTextFile(const std::u16string& path, const std::u16string& text);

} // namespace mdCode

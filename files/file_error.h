#pragma once

#include <stdexcept>
#include <string>

namespace mdCode {

// A file that could not be opened, read or written. The message is French, whatever the user's
// language, and names the file: "/srv/www/tmp/PARAM.ini : Permission refusée".
class FileError final : public std::runtime_error {
public:
    // The system refused `file` with `error`, an errno value.
    FileError(const std::string& file, int error);

    // `file` is no regular file: a FIFO, a device or a socket, which are never read.
    static FileError NotRegularFile(const std::string& file);
    // The symbolic link `link` leads to `target`, outside the link's own folder.
    static FileError LinkLeavesFolder(const std::string& link, const std::string& target);

    const std::string& File() const noexcept { return file_; }
    // The errno value, or 0 for the program's own reasons above.
    int Error() const noexcept { return error_; }

private:
    FileError(const std::string& file, int error, const std::string& reason);

    std::string file_;
    int error_;
};

// The French words for an errno value: "Disque plein" for ENOSPC; for a value without words of
// its own, "erreur du système" and the system's text in parentheses.
std::string FrenchReason(int error);

} // namespace mdCode

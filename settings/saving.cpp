#include "settings/saving.h"

#include "encoding/code_page.h"
#include "files/replaced_file.h"
#include "paths/program_path.h"
#include "settings/settings_file.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace mdCode {
namespace {

// Closes the file once the step that filled it has run; false with errno set when either failed.
bool CloseAfter(FileSystem& system, int descriptor, bool filled) {
    const int fillError = errno;
    const bool closed = system.Close(descriptor) == 0;
    if (!filled) {
        errno = fillError;
    }
    return filled && closed;
}

// Room on the disk for the new content, or a file system that cannot say (EOPNOTSUPP), where
// the rewrite goes on unprotected from a full disk.
bool RoomReserved(FileSystem& system, int descriptor, std::string_view bytes) {
    return system.Reserve(descriptor, static_cast<off_t>(bytes.size())) == 0 || errno == EOPNOTSUPP;
}

// Rewrites a regular file in place, as an editor does where it may write the file but not its
// folder, and syncs it last. Room for the new content is reserved before the first old byte is
// overwritten, so that a full disk or a quota leaves the old content whole. Links are not
// followed. When the file cannot be opened for it either, the error is the folder's.
void RewriteInPlace(FileSystem& system, const std::filesystem::path& file, std::string_view bytes,
                    int folderError) {
    const int descriptor =
        system.Open(file.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0);
    struct stat status {};
    if (descriptor < 0 || fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
        if (descriptor >= 0) {
            system.Close(descriptor);
        }
        throw FileError(file.parent_path().string(), folderError);
    }
    const bool rewritten = RoomReserved(system, descriptor, bytes) &&
                           WriteAll(system, descriptor, bytes) &&
                           system.Truncate(descriptor, static_cast<off_t>(bytes.size())) == 0 &&
                           system.Sync(descriptor) == 0;
    if (!CloseAfter(system, descriptor, rewritten)) {
        throw FileError(file.string(), errno);
    }
}

} // namespace

void SaveFile(FileSystem& system, const std::filesystem::path& file, std::string_view bytes) {
    try {
        ReplaceFile(system, file, bytes);
    } catch (const FileError& error) {
        if (error.Error() != EACCES && error.Error() != EPERM) {
            throw;
        }
        // No new file can be made in the folder: the file itself may still be writable.
        RewriteInPlace(system, file, bytes, error.Error());
    }
}

std::string SettingsFileBytes(const std::u16string& text) {
    return ToAnsi(text) + "\r\n";
}

void WriteTextFile(const std::u16string& path, const std::u16string& text) {
    SaveFile(SystemFileSystem(), ToNativePath(path), SettingsFileBytes(text));
}

} // namespace mdCode

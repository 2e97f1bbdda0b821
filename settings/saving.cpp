#include "settings/saving.h"

#include "encoding/code_page.h"
#include "paths/program_path.h"
#include "settings/settings_file.h"

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace mdCode {
namespace {

// The regular file that a save replaces, as it stands; none for a new file or a link.
std::optional<struct stat> ReplacedRegularFile(const std::filesystem::path& file) {
    struct stat own {};
    if (lstat(file.c_str(), &own) == 0 && S_ISREG(own.st_mode)) {
        return own;
    }
    return std::nullopt;
}

// A file replaced in a folder shared by a group keeps that group, so that the other users can
// still write it; its permission bits are kept with it. Only a group the saving user belongs to
// can be given. Where it cannot, the save goes on all the same: the file has the user's own
// group, as any new file does, and that group gets no more than the old file gave everybody.
mode_t ModeKeepingGroupOf(const struct stat& replaced, int newFile) {
    const mode_t mode = replaced.st_mode & 07777;
    if (fchown(newFile, static_cast<uid_t>(-1), replaced.st_gid) == 0) {
        return mode;
    }
    const mode_t othersBits = mode & 07;
    return (mode & ~mode_t{070}) | (othersBits << 3);
}

// The permission bits the new file gets: those of the regular file it replaces, or those the
// system gave the new file (the user's umask applied). A symbolic link is replaced, not
// followed, so its target's mode (/dev/zero is world-writable) is not the file's; the new file
// is still no more open than the target was. None, errno set, when the new file cannot be
// looked at.
std::optional<mode_t> ModeFor(const std::filesystem::path& file, int newFile) {
    if (const std::optional<struct stat> replaced = ReplacedRegularFile(file)) {
        return ModeKeepingGroupOf(*replaced, newFile);
    }
    struct stat created {};
    if (fstat(newFile, &created) != 0) {
        return std::nullopt;
    }
    const mode_t createdMode = created.st_mode & 07777;
    struct stat target {};
    return stat(file.c_str(), &target) == 0 ? createdMode & target.st_mode : createdMode;
}

bool WriteAll(FileSystem& system, int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = system.Write(descriptor, bytes);
        if (count >= 0) {
            bytes.remove_prefix(static_cast<std::size_t>(count));
        } else if (errno != EINTR) {
            return false;
        }
    }
    return true;
}

// Closes the file once the step that filled it has run; false with errno set when either failed.
bool CloseAfter(FileSystem& system, int descriptor, bool filled) {
    const int fillError = errno;
    const bool closed = system.Close(descriptor) == 0;
    if (!filled) {
        errno = fillError;
    }
    return filled && closed;
}

// A new file beside `file`, its name hidden (".PARAM.ini.Xy12Ab"), so that one left behind by a
// crash is neither listed by the program nor taken for a file of the folder. Created with the
// usual permissions, the umask applied by the system. -1 with errno set when none can be made.
int CreateHiddenTemporary(FileSystem& system, const std::filesystem::path& file,
                          std::string& name) {
    constexpr std::string_view letters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    for (int tries = 0; tries < 100; ++tries) {
        std::string suffix(6, ' ');
        for (char& letter : suffix) {
            letter = letters[random() % letters.size()];
        }
        name = (file.parent_path() / ("." + file.filename().string() + "." + suffix)).string();
        const int descriptor =
            system.Open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0 || errno != EEXIST) {
            return descriptor;
        }
    }
    return -1;
}

// Writes the bytes to a hidden file beside `file`, syncs it, and renames it over `file` in one
// step: a failure at any point leaves the previous file as it was, and after a crash the file
// is the old one or the new one, complete. 0, or the error.
int ReplaceFile(FileSystem& system, const std::filesystem::path& file, std::string_view bytes) {
    std::string temporary;
    const int descriptor = CreateHiddenTemporary(system, file, temporary);
    if (descriptor < 0) {
        return errno;
    }
    const std::optional<mode_t> mode = ModeFor(file, descriptor);
    const bool filled = mode && fchmod(descriptor, *mode) == 0 &&
                        WriteAll(system, descriptor, bytes) && system.Sync(descriptor) == 0;
    if (!CloseAfter(system, descriptor, filled) ||
        system.Rename(temporary.c_str(), file.c_str()) != 0) {
        const int error = errno;
        system.Unlink(temporary.c_str());
        return error;
    }
    return 0;
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
    const int error = ReplaceFile(system, file, bytes);
    if (error == 0) {
        return;
    }
    if (error != EACCES && error != EPERM) {
        throw FileError(file.string(), error);
    }
    // No new file can be made in the folder: the file itself may still be writable.
    RewriteInPlace(system, file, bytes, error);
}

void WriteTextFile(const std::u16string& path, const std::u16string& text) {
    SaveFile(SystemFileSystem(), ToNativePath(path), ToAnsi(text) + "\r\n");
}

} // namespace mdCode

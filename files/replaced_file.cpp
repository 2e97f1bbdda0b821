#include "files/replaced_file.h"

#include "files/file_error.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace mdCode {
namespace {

// The regular file that the replacement replaces, as it stands; none for a new file or a link.
std::optional<struct stat> ReplacedRegularFile(const std::filesystem::path& file) {
    struct stat own {};
    if (lstat(file.c_str(), &own) == 0 && S_ISREG(own.st_mode))
        return own;
    return std::nullopt;
}

// The replaced file's bits, with its group when the new file can be given it.
mode_t ModeKeepingGroupOf(const struct stat& replaced, int newFile) {
    const mode_t mode = replaced.st_mode & 07777;
    if (fchown(newFile, static_cast<uid_t>(-1), replaced.st_gid) == 0)
        return mode;
    const mode_t othersBits = mode & 07;
    return (mode & ~mode_t{070}) | (othersBits << 3);
}

// The bits the new file gets when none are required (see FileReplacement).
mode_t InheritedMode(const std::filesystem::path& file, const NewFile& content) {
    if (const std::optional<struct stat> replaced = ReplacedRegularFile(file))
        return ModeKeepingGroupOf(*replaced, content.Descriptor());
    struct stat created {};
    if (fstat(content.Descriptor(), &created) != 0)
        throw FileError(file.string(), errno);
    const mode_t createdMode = created.st_mode & 07777;
    struct stat target {};
    return stat(file.c_str(), &target) == 0 ? createdMode & target.st_mode : createdMode;
}

} // namespace

FileReplacement::FileReplacement(FileSystem& system, std::filesystem::path file,
                                 std::optional<mode_t> mode)
    : system_(system), file_(std::move(file)),
      content_(NewFile::HiddenBeside(system, file_, mode.value_or(0666))) {
    content_.SetMode(mode ? *mode : InheritedMode(file_, content_));
}

void FileReplacement::Finish() {
    content_.Finish();
    finished_ = true;
}

void FileReplacement::Commit() {
    if (!finished_)
        Finish();
    if (system_.Rename(content_.Path().c_str(), file_.c_str()) != 0)
        throw FileError(file_.string(), errno);
    content_.Keep();
}

void ReplaceFile(FileSystem& system, const std::filesystem::path& file, std::string_view bytes,
                 std::optional<mode_t> mode) {
    FileReplacement replacement(system, file, mode);
    replacement.Write(bytes);
    replacement.Commit();
}

} // namespace mdCode

#pragma once

#include "files/file_system.h"
#include "files/new_file.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <sys/types.h>

namespace mdCode {

// A file's new content, written to a hidden file beside it (see NewFile::HiddenBeside) and
// renamed over it once complete and on the disk: a failure at any point leaves the file as it
// was, and after a crash it is the old file or the new one, whole. A symbolic link in the file's
// place is replaced, never followed, so that no link leads a write elsewhere.
//
// The new file's permission bits are `mode` when given. Otherwise a regular file that is replaced
// gives its bits, and its group where the user may give that group (elsewhere the group's bits
// become the others', so that the user's own group gets no more than everybody had); a new file
// has the system's bits (the umask applied), no more open than a link it replaces leads to.
//
// Every failure throws FileError naming the file; the hidden file is then removed, as it is when
// this goes without Commit().
class FileReplacement final {
public:
    FileReplacement(FileSystem& system, std::filesystem::path file,
                    std::optional<mode_t> mode = std::nullopt);

    const std::filesystem::path& File() const { return file_; }
    void Write(std::string_view bytes) { content_.Write(bytes); }
    void CopyFrom(const std::filesystem::path& source) { content_.CopyFrom(source); }
    // Syncs and closes the new content: it is on the disk, ready to take the file's place.
    void Finish();
    // Renames the new content over the file, finished first if need be.
    void Commit();

private:
    FileSystem& system_;
    std::filesystem::path file_;
    NewFile content_;
    bool finished_ = false;
};

// The file replaced by the bytes, as FileReplacement replaces it. Throws FileError.
void ReplaceFile(FileSystem& system, const std::filesystem::path& file, std::string_view bytes,
                 std::optional<mode_t> mode = std::nullopt);

} // namespace mdCode

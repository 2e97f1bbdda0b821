#pragma once

#include "files/file_system.h"

#include <filesystem>
#include <string_view>
#include <sys/types.h>

namespace mdCode {

// A file that did not exist before (made with O_EXCL, so never one that was already there),
// written, then kept or removed: it is removed when it goes unless Keep() was called. Every
// failure throws FileError naming the file, or for a hidden file the file it stands beside.
class NewFile final {
public:
    // The file at `path`, made with `mode` (the umask applied).
    NewFile(FileSystem& system, std::filesystem::path path, mode_t mode);
    // A file beside `file` whose name is hidden: "." + the file's name + "." + six random letters
    // (".PARAM.ini.Xy12Ab"), so that one left behind by a crash is neither listed by the program
    // nor taken for a file of the folder. Throws FileError naming `file`.
    static NewFile HiddenBeside(FileSystem& system, const std::filesystem::path& file, mode_t mode);

    ~NewFile();
    NewFile(NewFile&& other) noexcept;
    NewFile& operator=(NewFile&&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The open file, or -1 once closed.
    int Descriptor() const { return descriptor_; }

    // Gives the file exactly these permission bits. A file system that refuses to change them
    // (an sshfs mount may, for a file the remote user owns) is no fault when the file has them.
    void SetMode(mode_t mode);
    void Write(std::string_view bytes);
    void CopyFrom(const std::filesystem::path& source);
    // Syncs the file, so that what was written is on the disk, and closes it.
    void Finish();
    // Closes the file: what was written is there for others to read.
    void Close();
    // The file stays when this goes.
    void Keep() { kept_ = true; }

private:
    NewFile(FileSystem& system, std::filesystem::path path, std::filesystem::path named,
            int descriptor);
    [[noreturn]] void Fail(int error) const;

    FileSystem& system_;
    std::filesystem::path path_;
    // The file that errors name.
    std::filesystem::path named_;
    int descriptor_ = -1;
    bool kept_ = false;
};

} // namespace mdCode

#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>

namespace deploy {

// A new file made beside its destination and renamed over it once complete: atomic, so that a
// running copy of the program keeps its old file (no "Text file busy") and nothing ever reads a
// half-written one. Removed again unless committed, also on interruption. Every failure throws
// std::system_error naming the file.
class StagedFile final {
public:
    // A new file in the folder, never an existing one, with exactly the given permission bits.
    // Its name is `name`, or by default a hidden one: ".lirvane." and six random letters.
    StagedFile(const std::string& folder, mode_t mode, const std::string& name = {});
    ~StagedFile();
    StagedFile(StagedFile&& other) noexcept;
    StagedFile& operator=(StagedFile&&) = delete;

    const std::string& Path() const { return path_; }
    void Write(std::string_view bytes);
    void CopyFrom(const std::string& source);
    // Waits until what was written is on the disk.
    void Sync();
    // Closes the file: what was written is there for others to read.
    void Close();
    // Closes the file and renames it over the destination.
    void Commit(const std::string& destination);

private:
    // Closes and removes the file unless it is committed.
    void Discard();

    std::string path_;
    int descriptor_ = -1;
    bool committed_ = false;
};

} // namespace deploy

#pragma once

#include "cli/deploy/file_state.h"
#include "files/replaced_file.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace deploy {

// Changes to files of the web folder and of the user's home, made all together or not at all.
// Each change is prepared when it is asked for: the new content written beside its file and
// synced, the folders it needs made, the file as it stands kept. Commit() then puts them in place
// in the order they were asked for; a failure there undoes the ones made, the newest first.
// Whatever is not committed is undone when this goes (prepared content removed, folders made
// removed), so that a failure or an interruption on the way leaves everything as it was.
//
// Every step throws FileError naming the file; each one asked for throws Interrupted first when
// the command has been interrupted.
class Changes final {
public:
    Changes() = default;
    ~Changes();
    Changes(const Changes&) = delete;
    Changes& operator=(const Changes&) = delete;

    // The file gets the bytes, with `mode` (see FileReplacement), unless it holds them already
    // with that mode.
    void Put(const std::filesystem::path& file, std::string_view bytes,
             std::optional<mode_t> mode = std::nullopt);
    // The file becomes a copy of `source`, with the mode.
    void Copy(const std::filesystem::path& file, const std::filesystem::path& source, mode_t mode);
    void Remove(const std::filesystem::path& file);
    // The file becomes a symbolic link to `target`.
    void Link(const std::filesystem::path& file, const std::filesystem::path& target);

    bool Empty() const { return changes_.empty(); }
    void Commit();

private:
    struct Change {
        std::filesystem::path file;
        // As it stood before.
        FileState before;
        std::optional<mdCode::FileReplacement> content;
        std::optional<std::filesystem::path> linkTarget;
    };

    // The file as it stands, which a change may replace: no folder, FIFO or device.
    static FileState Replaceable(const std::filesystem::path& file);
    void MakeFoldersFor(const std::filesystem::path& file);
    mdCode::FileReplacement& Prepared(const std::filesystem::path& file, std::optional<mode_t> mode,
                                      FileState before);
    static void Apply(Change& change);
    static void Undo(const Change& change) noexcept;

    std::vector<Change> changes_;
    std::vector<std::filesystem::path> madeFolders_;
    bool committed_ = false;
};

} // namespace deploy

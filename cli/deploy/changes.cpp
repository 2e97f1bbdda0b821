#include "cli/deploy/changes.h"

#include "cli/common/interruption.h"
#include "files/file_error.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace deploy {
namespace {

namespace fs = std::filesystem;

// Makes the link beside the file and renames it over the file, so that the file is never missing.
void MakeLink(const fs::path& file, const fs::path& target) {
    const fs::path beside = file.parent_path() / ("." + file.filename().string() + ".link");
    unlink(beside.c_str());
    if (symlink(target.c_str(), beside.c_str()) != 0)
        throw mdCode::FileError(file.string(), errno);
    if (rename(beside.c_str(), file.c_str()) != 0) {
        const int error = errno;
        unlink(beside.c_str());
        throw mdCode::FileError(file.string(), error);
    }
}

} // namespace

Changes::~Changes() {
    if (committed_)
        return;
    changes_.clear();
    for (auto folder = madeFolders_.rbegin(); folder != madeFolders_.rend(); ++folder)
        rmdir(folder->c_str());
}

FileState Changes::Replaceable(const fs::path& file) {
    FileState state = StateOf(file);
    if (state.kind == FileState::Kind::Other)
        throw mdCode::FileError::NotRegularFile(file.string());
    return state;
}

void Changes::MakeFoldersFor(const fs::path& file) {
    std::vector<fs::path> missing;
    for (fs::path folder = file.parent_path(); !folder.empty() && folder != folder.root_path();
         folder = folder.parent_path()) {
        struct stat status {};
        if (lstat(folder.c_str(), &status) == 0)
            break;
        missing.push_back(folder);
    }
    for (auto folder = missing.rbegin(); folder != missing.rend(); ++folder) {
        if (mkdir(folder->c_str(), 0777) != 0)
            throw mdCode::FileError(folder->string(), errno);
        madeFolders_.push_back(*folder);
    }
}

mdCode::FileReplacement& Changes::Prepared(const fs::path& file, std::optional<mode_t> mode,
                                           FileState before) {
    MakeFoldersFor(file);
    changes_.push_back({file,
                        std::move(before),
                        mdCode::FileReplacement(mdCode::SystemFileSystem(), file, mode),
                        {}});
    return *changes_.back().content;
}

void Changes::Put(const fs::path& file, std::string_view bytes, std::optional<mode_t> mode) {
    cli::ThrowIfInterrupted();
    FileState before = Replaceable(file);
    if (before.kind == FileState::Kind::File && before.bytes == bytes &&
        (!mode || before.mode == *mode))
        return;
    mdCode::FileReplacement& content = Prepared(file, mode, std::move(before));
    content.Write(bytes);
    content.Finish();
}

void Changes::Copy(const fs::path& file, const fs::path& source, mode_t mode) {
    cli::ThrowIfInterrupted();
    mdCode::FileReplacement& content = Prepared(file, mode, Replaceable(file));
    content.CopyFrom(source);
    content.Finish();
}

void Changes::Remove(const fs::path& file) {
    cli::ThrowIfInterrupted();
    FileState before = Replaceable(file);
    if (before.kind != FileState::Kind::Absent)
        changes_.push_back({file, std::move(before), std::nullopt, std::nullopt});
}

void Changes::Link(const fs::path& file, const fs::path& target) {
    cli::ThrowIfInterrupted();
    changes_.push_back({file, Replaceable(file), std::nullopt, target});
}

void Changes::Apply(Change& change) {
    if (change.content) {
        change.content->Commit();
    } else if (change.linkTarget) {
        MakeLink(change.file, *change.linkTarget);
    } else if (unlink(change.file.c_str()) != 0 && errno != ENOENT) {
        throw mdCode::FileError(change.file.string(), errno);
    }
}

// Puts the file back as it stood, as far as it can: a file whose bytes could not be read stays
// as the change left it.
void Changes::Undo(const Change& change) noexcept {
    try {
        switch (change.before.kind) {
        case FileState::Kind::Absent:
            unlink(change.file.c_str());
            break;
        case FileState::Kind::File:
            if (change.before.bytes)
                mdCode::ReplaceFile(mdCode::SystemFileSystem(), change.file, *change.before.bytes,
                                    change.before.mode);
            break;
        case FileState::Kind::Link:
            MakeLink(change.file, change.before.target);
            break;
        case FileState::Kind::Other:
            // Never changed: Replaceable refuses it.
            break;
        }
    } catch (const mdCode::FileError&) {
        // Nothing more can be done for this one; the others are still put back.
    }
}

void Changes::Commit() {
    cli::ThrowIfInterrupted();
    for (std::size_t made = 0; made < changes_.size(); ++made) {
        try {
            Apply(changes_[made]);
        } catch (...) {
            for (std::size_t undone = made; undone-- > 0;)
                Undo(changes_[undone]);
            throw;
        }
    }
    committed_ = true;
}

} // namespace deploy

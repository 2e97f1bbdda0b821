#include "cli/deploy_staged_file.h"

#include "cli/deploy_interruption.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace deploy {
namespace {

[[noreturn]] void Fail(const std::string& path) {
    throw std::system_error(errno, std::generic_category(), path);
}

std::string HiddenName() {
    constexpr std::string_view letters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    std::string name = ".lirvane.";
    for (int i = 0; i < 6; ++i) {
        name += letters[random() % letters.size()];
    }
    return name;
}

// The permission bits are set explicitly, the umask notwithstanding. Some file systems refuse
// to change them (an sshfs mount may, for a file the remote user owns): that is no fault as
// long as the file was made with the right ones.
void SetMode(int descriptor, mode_t mode, const std::string& path) {
    if (fchmod(descriptor, mode) == 0) {
        return;
    }
    const int error = errno;
    struct stat status {};
    if (fstat(descriptor, &status) != 0 || (status.st_mode & 07777) != mode) {
        errno = error;
        Fail(path);
    }
}

} // namespace

StagedFile::StagedFile(const std::string& folder, mode_t mode, const std::string& name) {
    for (int tries = 0; tries < 100 && descriptor_ < 0; ++tries) {
        path_ = folder + "/" + (name.empty() ? HiddenName() : name);
        const SignalsHeld held;
        descriptor_ = open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (descriptor_ >= 0) {
            RemoveOnInterruption(path_);
        } else if (errno != EEXIST || !name.empty()) {
            Fail(path_);
        }
    }
    if (descriptor_ < 0) {
        Fail(path_);
    }
    try {
        SetMode(descriptor_, mode, path_);
    } catch (...) {
        Discard();
        throw;
    }
}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : path_(std::exchange(other.path_, {})), descriptor_(std::exchange(other.descriptor_, -1)),
      committed_(other.committed_) {}

StagedFile::~StagedFile() {
    Discard();
}

void StagedFile::Discard() {
    if (descriptor_ >= 0) {
        close(descriptor_);
        descriptor_ = -1;
    }
    if (!committed_ && !path_.empty()) {
        const SignalsHeld held;
        unlink(path_.c_str());
        KeepOnInterruption(path_);
        path_.clear();
    }
}

void StagedFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = write(descriptor_, bytes.data(), bytes.size());
        if (count < 0 && errno != EINTR) {
            Fail(path_);
        }
        bytes.remove_prefix(count < 0 ? 0 : static_cast<std::size_t>(count));
    }
}

void StagedFile::CopyFrom(const std::string& source) {
    const int from = open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (from < 0) {
        Fail(source);
    }
    const std::unique_ptr<const int, void (*)(const int*)> closed(
        &from, [](const int* opened) { close(*opened); });
    char buffer[1 << 16];
    for (ssize_t count = 0; (count = read(from, buffer, sizeof buffer)) != 0;) {
        if (count > 0) {
            Write(std::string_view(buffer, static_cast<std::size_t>(count)));
        } else if (errno != EINTR) {
            Fail(source);
        }
    }
}

void StagedFile::Sync() {
    if (fsync(descriptor_) != 0) {
        Fail(path_);
    }
}

void StagedFile::Close() {
    if (descriptor_ < 0) {
        return;
    }
    const int descriptor = descriptor_;
    descriptor_ = -1;
    if (close(descriptor) != 0) {
        Fail(path_);
    }
}

void StagedFile::Commit(const std::string& destination) {
    Close();
    const SignalsHeld held;
    if (std::rename(path_.c_str(), destination.c_str()) != 0) {
        Fail(destination);
    }
    KeepOnInterruption(path_);
    committed_ = true;
}

} // namespace deploy

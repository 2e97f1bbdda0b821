#include "files/new_file.h"

#include "files/file_error.h"

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace mdCode {
namespace {

constexpr int CreationFlags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;

std::string RandomLetters(std::size_t count) {
    constexpr std::string_view letters =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    std::string chosen(count, ' ');
    for (char& letter : chosen)
        letter = letters[random() % letters.size()];
    return chosen;
}

} // namespace

NewFile::NewFile(FileSystem& system, std::filesystem::path path, std::filesystem::path named,
                 int descriptor)
    : system_(system), path_(std::move(path)), named_(std::move(named)), descriptor_(descriptor) {}

NewFile::NewFile(FileSystem& system, std::filesystem::path path, mode_t mode)
    : NewFile(system, path, path, system.Open(path.c_str(), CreationFlags, mode)) {
    if (descriptor_ < 0)
        throw FileError(path_.string(), errno);
}

NewFile NewFile::HiddenBeside(FileSystem& system, const std::filesystem::path& file, mode_t mode) {
    const std::string prefix = "." + file.filename().string() + ".";
    for (int tries = 0; tries < 100; ++tries) {
        std::filesystem::path hidden = file.parent_path() / (prefix + RandomLetters(6));
        const int descriptor = system.Open(hidden.c_str(), CreationFlags, mode);
        if (descriptor >= 0)
            return NewFile(system, std::move(hidden), file, descriptor);
        if (errno != EEXIST)
            break;
    }
    throw FileError(file.string(), errno);
}

NewFile::NewFile(NewFile&& other) noexcept
    : system_(other.system_), path_(std::exchange(other.path_, {})),
      named_(std::move(other.named_)), descriptor_(std::exchange(other.descriptor_, -1)),
      kept_(std::exchange(other.kept_, true)) {}

NewFile::~NewFile() {
    if (descriptor_ >= 0)
        system_.Close(descriptor_);
    if (!kept_)
        system_.Unlink(path_.c_str());
}

void NewFile::Fail(int error) const {
    throw FileError(named_.string(), error);
}

void NewFile::SetMode(mode_t mode) {
    if (fchmod(descriptor_, mode) == 0)
        return;
    const int error = errno;
    struct stat status {};
    if (fstat(descriptor_, &status) != 0 || (status.st_mode & 07777) != mode)
        Fail(error);
}

void NewFile::Write(std::string_view bytes) {
    if (!WriteAll(system_, descriptor_, bytes))
        Fail(errno);
}

void NewFile::CopyFrom(const std::filesystem::path& source) {
    const int from = open(source.c_str(), O_RDONLY | O_CLOEXEC);
    if (from < 0)
        throw FileError(source.string(), errno);
    const std::unique_ptr<const int, void (*)(const int*)> closer(
        &from, [](const int* opened) { close(*opened); });
    char buffer[1 << 16];
    for (ssize_t count = 0; (count = read(from, buffer, sizeof buffer)) != 0;) {
        if (count > 0)
            Write(std::string_view(buffer, static_cast<std::size_t>(count)));
        else if (errno != EINTR)
            throw FileError(source.string(), errno);
    }
}

void NewFile::Finish() {
    if (system_.Sync(descriptor_) != 0) {
        const int error = errno;
        system_.Close(std::exchange(descriptor_, -1));
        Fail(error);
    }
    Close();
}

void NewFile::Close() {
    if (descriptor_ < 0)
        return;
    const int descriptor = std::exchange(descriptor_, -1);
    if (system_.Close(descriptor) != 0)
        Fail(errno);
}

} // namespace mdCode

#include "files/file_system.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace mdCode {
namespace {

class SystemCalls final : public FileSystem {
public:
    int Open(const char* path, int flags, mode_t mode) override { return open(path, flags, mode); }
    ssize_t Write(int descriptor, std::string_view bytes) override {
        return write(descriptor, bytes.data(), bytes.size());
    }
    // Not posix_fallocate: it extends the file to `length`, and where the file system cannot
    // reserve room it writes zeros itself; either would leave zeros behind the old content if
    // the program ended before the rewrite. Room kept beyond the end is not seen in the file.
    int Reserve(int descriptor, off_t length) override {
        return fallocate(descriptor, FALLOC_FL_KEEP_SIZE, 0, length);
    }
    int Truncate(int descriptor, off_t length) override { return ftruncate(descriptor, length); }
    int Sync(int descriptor) override { return fsync(descriptor); }
    int Close(int descriptor) override { return close(descriptor); }
    int Rename(const char* from, const char* to) override { return std::rename(from, to); }
    int Unlink(const char* path) override { return unlink(path); }
};

} // namespace

FileSystem& SystemFileSystem() {
    static SystemCalls system;
    return system;
}

bool WriteAll(FileSystem& system, int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = system.Write(descriptor, bytes);
        if (count >= 0)
            bytes.remove_prefix(static_cast<std::size_t>(count));
        else if (errno != EINTR)
            return false;
    }
    return true;
}

} // namespace mdCode

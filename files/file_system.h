#pragma once

#include <string_view>
#include <sys/types.h>

namespace mdCode {

// The file operations whose order makes a save safe, one per system call, so that a test can
// record that order. Each returns what its system call returns and sets errno alike.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual int Open(const char* path, int flags, mode_t mode) = 0;
    virtual ssize_t Write(int descriptor, std::string_view bytes) = 0;
    // Secures room on the disk for the first `length` bytes without changing the file's size.
    virtual int Reserve(int descriptor, off_t length) = 0;
    virtual int Truncate(int descriptor, off_t length) = 0;
    virtual int Sync(int descriptor) = 0;
    virtual int Close(int descriptor) = 0;
    virtual int Rename(const char* from, const char* to) = 0;
    virtual int Unlink(const char* path) = 0;
};

// The system calls themselves.
FileSystem& SystemFileSystem();

// Writes all the bytes, however many writes it takes; false with errno set when one fails.
bool WriteAll(FileSystem& system, int descriptor, std::string_view bytes);

} // namespace mdCode

#include "files/file_error.h"
#include "files/replaced_file.h"

#include "support/temporary_folder.h"

#include <cerrno>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace mdCode {
namespace {

// The system's file operations, but for one that fails with an error.
class FailingFileSystem final : public FileSystem {
public:
    FailingFileSystem(std::string failing, int error)
        : failing_(std::move(failing)), error_(error) {}

    int Open(const char* path, int flags, mode_t mode) override {
        return Fails("open") ? -1 : SystemFileSystem().Open(path, flags, mode);
    }
    ssize_t Write(int descriptor, std::string_view bytes) override {
        return Fails("write") ? -1 : SystemFileSystem().Write(descriptor, bytes);
    }
    int Reserve(int descriptor, off_t length) override {
        return SystemFileSystem().Reserve(descriptor, length);
    }
    int Truncate(int descriptor, off_t length) override {
        return SystemFileSystem().Truncate(descriptor, length);
    }
    int Sync(int descriptor) override {
        return Fails("sync") ? -1 : SystemFileSystem().Sync(descriptor);
    }
    int Close(int descriptor) override {
        const int closed = SystemFileSystem().Close(descriptor);
        return Fails("close") ? -1 : closed;
    }
    int Rename(const char* from, const char* to) override {
        return Fails("rename") ? -1 : SystemFileSystem().Rename(from, to);
    }
    int Unlink(const char* path) override { return SystemFileSystem().Unlink(path); }

private:
    bool Fails(const std::string& call) const {
        errno = error_;
        return call == failing_;
    }

    std::string failing_;
    int error_;
};

// Whichever step fails, the file keeps its old bytes and nothing else is left beside it; the
// error names the file the user knows, not the hidden one.
TEST(FileReplacement, AFailureAtAnyStepLeavesTheFileAsItWas) {
    const std::pair<const char*, int> cases[] = {
        {"open", EACCES}, {"write", ENOSPC}, {"sync", EIO}, {"close", EDQUOT}, {"rename", EBUSY},
    };
    for (const auto& [step, error] : cases) {
        SCOPED_TRACE(step);
        TemporaryFolder folder;
        folder.WriteBytes("entry.desktop", "old");
        FailingFileSystem system(step, error);
        EXPECT_THAT([&] { ReplaceFile(system, folder.Native("entry.desktop"), "new", 0644); },
                    testing::ThrowsMessage<FileError>(folder.Native("entry.desktop").string() +
                                                      " : " + FrenchReason(error)));
        EXPECT_EQ(folder.ReadBytes("entry.desktop"), "old");
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"entry.desktop"});
    }
}

// A mode that is asked for is the file's, whatever the umask and the file it replaces.
TEST(FileReplacement, GivesTheModeAskedFor) {
    TemporaryFolder folder;
    folder.WriteBytes("script", "old");
    ASSERT_EQ(chmod(folder.Native("script").c_str(), 0600), 0);
    const mode_t previousMask = umask(077);
    ReplaceFile(SystemFileSystem(), folder.Native("script"), "new", 0755);
    umask(previousMask);
    struct stat status {};
    ASSERT_EQ(stat(folder.Native("script").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0755u);
    EXPECT_EQ(folder.ReadBytes("script"), "new");
}

} // namespace
} // namespace mdCode

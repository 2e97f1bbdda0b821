#include "settings/settings_file.h"

#include "support/temporary_folder.h"

#include <csignal>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace mdCode {
namespace {

using Names = std::vector<std::string>;

struct WriteCase {
    std::u16string text;
    std::string bytes;
};

TEST(WriteTextFile, WritesOneLineInTheCodePage) {
    const WriteCase cases[] = {
        {u"http://votre_site_web/dossiertemp/", "http://votre_site_web/dossiertemp/\r\n"},
        {u"http://site/\u00E9t\u00E9/\u20AC", "http://site/\xE9t\xE9/\x80\r\n"},
        {u"http://site/\u4E2D/", "http://site/?/\r\n"},
        {u"", "\r\n"},
    };
    TemporaryFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        WriteTextFile(folder.ProgramPath("PARAM.ini"), c.text);
        EXPECT_EQ(folder.ReadBytes("PARAM.ini"), c.bytes);
        EXPECT_EQ(folder.Names(), Names{"PARAM.ini"});
    }
}

// A "\\" inside a folder's name is part of that name, not a separator.
TEST(WriteTextFile, WritesIntoAFolderWhoseNameHoldsABackslash) {
    TemporaryFolder folder;
    std::filesystem::create_directories(folder.Native("back\\slash \xFF#%"));
    std::filesystem::create_directories(folder.Native("back/slash \xFF#%"));
    const std::u16string path = folder.ProgramPath("back\\slash \xFF#%/PARAM.ini");
    WriteTextFile(path, u"http://site/");
    EXPECT_EQ(folder.ReadBytes("back\\slash \xFF#%/PARAM.ini"), "http://site/\r\n");
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(ReadTextFile(path), u"http://site/");
    EXPECT_FALSE(std::filesystem::exists(folder.Native("back/slash \xFF#%/PARAM.ini")));
}

TEST(WriteTextFile, ReplacesALongerFile) {
    TemporaryFolder folder;
    folder.WriteBytes("PARAM.ini", "http://a-much-longer-address.example/folder/\r\nmore\r\n");
    WriteTextFile(folder.ProgramPath("PARAM.ini"), u"http://x/");
    EXPECT_EQ(folder.ReadBytes("PARAM.ini"), "http://x/\r\n");
}

TEST(WriteTextFile, AddressesReadBackUnchanged) {
    const std::u16string addresses[] = {
        u"http://votre_site_web/dossiertemp/",
        u"http://votre_site_web/a,b/",
        u"http://site/\u00E9t\u00E9 x/",
        u"http://site/a/  ",
    };
    TemporaryFolder folder;
    for (const auto& address : addresses) {
        SCOPED_TRACE(testing::PrintToString(address));
        WriteTextFile(folder.ProgramPath("PARAM.ini"), address);
        EXPECT_EQ(ReadTextFile(folder.ProgramPath("PARAM.ini")), address);
    }
}

mode_t PermissionBits(const std::filesystem::path& file) {
    struct stat status {};
    EXPECT_EQ(stat(file.c_str(), &status), 0);
    return status.st_mode & 07777;
}

// Users who share the folder through a group keep their write access to the file.
constexpr gid_t SharedGroup = 65534;

TEST(WriteTextFile, KeepsThePermissionsAndTheGroupOfTheFileItReplaces) {
    TemporaryFolder folder;
    folder.WriteBytes("PARAM.ini", "old\r\n");
    ASSERT_EQ(chmod(folder.Native("PARAM.ini").c_str(), 0664), 0);
    const bool mayChangeGroup = geteuid() == 0;
    if (mayChangeGroup) {
        ASSERT_EQ(chown(folder.Native("PARAM.ini").c_str(), static_cast<uid_t>(-1), SharedGroup),
                  0);
    }
    WriteTextFile(folder.ProgramPath("PARAM.ini"), u"new");
    EXPECT_EQ(PermissionBits(folder.Native("PARAM.ini")), 0664u);
    struct stat status {};
    ASSERT_EQ(stat(folder.Native("PARAM.ini").c_str(), &status), 0);
    if (mayChangeGroup) {
        EXPECT_EQ(status.st_gid, SharedGroup);
    }
}

TEST(WriteTextFile, CreatesAFileWithTheUsualPermissions) {
    TemporaryFolder folder;
    const mode_t previousMask = umask(027);
    WriteTextFile(folder.ProgramPath("PARAM.ini"), u"new");
    umask(previousMask);
    EXPECT_EQ(PermissionBits(folder.Native("PARAM.ini")), 0640u);
}

struct LinkCase {
    const char* what;
    std::string target;               // relative to the folder, or absolute
    std::optional<mode_t> targetMode; // created with this mode when set
    mode_t expected;
};

TEST(WriteTextFile, ReplacesALinkWithANewFileNoMoreOpenThanTheLinkedOne) {
    const LinkCase cases[] = {
        {"a link to /dev/zero", "/dev/zero", std::nullopt, 0644},
        {"a link to a world-writable file", "shared.ini", 0666, 0644},
        {"a link to a private file", "private.ini", 0600, 0600},
        {"a dangling link", "absent.ini", std::nullopt, 0644},
    };
    const mode_t previousMask = umask(022);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TemporaryFolder folder;
        if (c.targetMode) {
            folder.WriteBytes(c.target, "target\r\n");
            ASSERT_EQ(chmod(folder.Native(c.target).c_str(), *c.targetMode), 0);
        }
        ASSERT_EQ(symlink(c.target.c_str(), folder.Native("PARAM.ini").c_str()), 0);

        WriteTextFile(folder.ProgramPath("PARAM.ini"), u"http://x/");

        EXPECT_TRUE(std::filesystem::is_regular_file(
            std::filesystem::symlink_status(folder.Native("PARAM.ini"))));
        EXPECT_EQ(PermissionBits(folder.Native("PARAM.ini")), c.expected);
        EXPECT_EQ(folder.ReadBytes("PARAM.ini"), "http://x/\r\n");
        if (c.targetMode) {
            EXPECT_EQ(folder.ReadBytes(c.target), "target\r\n");
            EXPECT_EQ(PermissionBits(folder.Native(c.target)), *c.targetMode);
        }
    }
    umask(previousMask);
}

// Runs the save in a child process and gives its wait status; exit code 1 when it threw the
// expected error.
int SavedInChild(const std::function<void()>& save, const std::string& expectedError) {
    const pid_t child = fork();
    if (child == 0) {
        try {
            save();
        } catch (const FileError& error) {
            _exit(error.what() == expectedError ? 1 : 3);
        }
        _exit(0);
    }
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    return status;
}

// A write that fails part-way leaves the previous file; one whose program is killed part-way
// leaves at most a hidden file beside it, which is never listed nor taken for a file.
TEST(WriteTextFile, FailedOrKilledWriteLeavesThePreviousFileIntact) {
    const std::string previous = "http://votre_site_web/dossiertemp/\r\n";
    for (const bool killed : {false, true}) {
        SCOPED_TRACE(killed ? "killed" : "failed");
        TemporaryFolder folder;
        folder.WriteBytes("PARAM.ini", previous);

        const int status = SavedInChild(
            [&] {
                // A file size limit makes the write fail part-way with EFBIG, or kills the process.
                std::signal(SIGXFSZ, killed ? SIG_DFL : SIG_IGN);
                const rlimit limit{4096, 4096};
                setrlimit(RLIMIT_FSIZE, &limit);
                WriteTextFile(folder.ProgramPath("PARAM.ini"), std::u16string(100'000, u'a'));
            },
            folder.Native("PARAM.ini").string() + ": File too large");

        if (killed) {
            EXPECT_TRUE(WIFSIGNALED(status));
        } else {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << "the write did not fail";
        }
        EXPECT_EQ(folder.ReadBytes("PARAM.ini"), previous);
        Names names = folder.Names();
        std::erase(names, "PARAM.ini");
        EXPECT_THAT(names, testing::Each(testing::StartsWith(".")));
        EXPECT_EQ(names.size(), killed ? 1u : 0u);
    }
}

// In a folder it may not write (root's, mode 755, saved by another user), a file it may write is
// rewritten in place; when it may not either, the error names the folder.
TEST(WriteTextFile, WritesInPlaceWhereOnlyTheFileIsWritable) {
    const std::pair<mode_t, bool> cases[] = {{0666, true}, {0644, false}};
    for (const auto& [fileMode, written] : cases) {
        SCOPED_TRACE(fileMode);
        TemporaryFolder folder;
        folder.WriteBytes("PARAM.ini", "http://old.example/tmp/\r\n");
        ASSERT_EQ(chmod(folder.Native("PARAM.ini").c_str(), fileMode), 0);
        const bool asRoot = geteuid() == 0;
        ASSERT_EQ(chmod(folder.Native("").c_str(), asRoot ? 0755 : 0555), 0);

        const int status = SavedInChild(
            [&] {
                if (asRoot && (setgid(65534) != 0 || setuid(65534) != 0))
                    _exit(2);
                WriteTextFile(folder.ProgramPath("PARAM.ini"), u"http://x/");
            },
            folder.Native("").parent_path().string() + ": Permission denied");

        chmod(folder.Native("").c_str(), 0700);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), written ? 0 : 1);
        EXPECT_EQ(folder.ReadBytes("PARAM.ini"),
                  written ? "http://x/\r\n" : "http://old.example/tmp/\r\n");
        EXPECT_EQ(PermissionBits(folder.Native("PARAM.ini")), fileMode);
        EXPECT_EQ(folder.Names(), Names{"PARAM.ini"});
    }
}

TEST(WriteTextFile, MissingFolderThrowsNamingThePath) {
    TemporaryFolder folder;
    EXPECT_THAT([&] { WriteTextFile(folder.ProgramPath("missing/PARAM.ini"), u"http://x/"); },
                testing::ThrowsMessage<FileError>(folder.Native("missing/PARAM.ini").string() +
                                                  ": No such file or directory"));
    EXPECT_EQ(folder.Names(), Names{});
}

TEST(WriteTextFile, FolderInTheWayThrowsAndLeavesNothingBehind) {
    TemporaryFolder folder;
    std::filesystem::create_directory(folder.Native("PARAM.ini"));
    EXPECT_THROW(WriteTextFile(folder.ProgramPath("PARAM.ini"), u"http://x/"), FileError);
    EXPECT_EQ(folder.Names(), Names{"PARAM.ini"});
    EXPECT_TRUE(std::filesystem::is_directory(folder.Native("PARAM.ini")));
}

} // namespace
} // namespace mdCode

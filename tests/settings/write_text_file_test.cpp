#include "settings/settings_file.h"

#include "support/temporary_folder.h"

#include <csignal>
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

TEST(WriteTextFile, KeepsThePermissionsOfTheFileItReplaces) {
    TemporaryFolder folder;
    folder.WriteBytes("PARAM.ini", "old\r\n");
    ASSERT_EQ(chmod(folder.Native("PARAM.ini").c_str(), 0604), 0);
    WriteTextFile(folder.ProgramPath("PARAM.ini"), u"new");
    EXPECT_EQ(PermissionBits(folder.Native("PARAM.ini")), 0604u);
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

TEST(WriteTextFile, FailedWriteLeavesThePreviousFileIntact) {
    TemporaryFolder folder;
    const std::string previous = "http://votre_site_web/dossiertemp/\r\n";
    folder.WriteBytes("PARAM.ini", previous);

    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        // A file size limit makes the write fail part-way with EFBIG.
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            WriteTextFile(folder.ProgramPath("PARAM.ini"), std::u16string(100'000, u'a'));
        } catch (const FileError&) {
            _exit(0);
        }
        _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write did not fail";
    EXPECT_EQ(folder.ReadBytes("PARAM.ini"), previous);
    EXPECT_EQ(folder.Names(), Names{"PARAM.ini"});
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

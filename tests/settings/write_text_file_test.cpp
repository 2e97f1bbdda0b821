#include "settings/saving.h"
#include "settings/settings_file.h"

#include "support/temporary_folder.h"

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <sys/mount.h>
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

// The user and group nobody, which the tests run as root take to be another user.
constexpr uid_t Nobody = 65534;

// Runs the save in a child process (as the user nobody when `asNobody`) and gives its wait status;
// exit code 1 when it threw the expected error.
int SavedInChild(const std::function<void()>& save, const std::string& expectedError,
                 bool asNobody = false) {
    const pid_t child = fork();
    if (child == 0) {
        if (asNobody && (setgid(Nobody) != 0 || setuid(Nobody) != 0))
            _exit(2);
        try {
            save();
        } catch (const FileError& error) {
            if (error.what() != expectedError) {
                std::cerr << "unexpected error: " << error.what() << '\n';
                _exit(3);
            }
            _exit(1);
        }
        _exit(0);
    }
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    return status;
}

struct GroupCase {
    const char* what;
    gid_t fileGroup;
    bool byNobody; // saved by nobody, who is not in the group root
    mode_t expectedMode;
    gid_t expectedGroup;
};

// Users who share the folder through a group keep their write access to the file. A group the
// saving user is not in cannot be kept: the user's own group then gets no more than others.
TEST(WriteTextFile, KeepsThePermissionsAndTheGroupOfTheFileItReplaces) {
    const GroupCase cases[] = {
        {"a group the user may give", Nobody, false, 0664, Nobody},
        {"a group the user is not in", 0, true, 0644, Nobody},
    };
    if (geteuid() != 0) {
        GTEST_SKIP() << "giving a file another group and saving as another user needs root";
    }
    for (const GroupCase& c : cases) {
        SCOPED_TRACE(c.what);
        TemporaryFolder folder;
        folder.WriteBytes("PARAM.ini", "old\r\n");
        ASSERT_EQ(chmod(folder.Native("PARAM.ini").c_str(), 0664), 0);
        ASSERT_EQ(chown(folder.Native("PARAM.ini").c_str(), static_cast<uid_t>(-1), c.fileGroup),
                  0);
        ASSERT_EQ(chmod(folder.Native("").c_str(), 0777), 0);

        const int status = SavedInChild(
            [&] { WriteTextFile(folder.ProgramPath("PARAM.ini"), u"new"); }, "", c.byNobody);

        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        EXPECT_EQ(folder.ReadBytes("PARAM.ini"), "new\r\n");
        EXPECT_EQ(PermissionBits(folder.Native("PARAM.ini")), c.expectedMode);
        struct stat saved {};
        ASSERT_EQ(stat(folder.Native("PARAM.ini").c_str(), &saved), 0);
        EXPECT_EQ(saved.st_gid, c.expectedGroup);
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
            folder.Native("PARAM.ini").string() + " : Fichier trop grand");

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
            [&] { WriteTextFile(folder.ProgramPath("PARAM.ini"), u"http://x/"); },
            folder.Native("").parent_path().string() + " : Permission refusée", asRoot);

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
                                                  " : Fichier ou dossier introuvable"));
    EXPECT_EQ(folder.Names(), Names{});
}

TEST(WriteTextFile, FolderInTheWayThrowsAndLeavesNothingBehind) {
    TemporaryFolder folder;
    std::filesystem::create_directory(folder.Native("PARAM.ini"));
    EXPECT_THROW(WriteTextFile(folder.ProgramPath("PARAM.ini"), u"http://x/"), FileError);
    EXPECT_EQ(folder.Names(), Names{"PARAM.ini"});
    EXPECT_TRUE(std::filesystem::is_directory(folder.Native("PARAM.ini")));
}

// The system's file operations, each recorded with the file it is for: "temporary" for the
// hidden new file, "file" for PARAM.ini. Creating a file can be refused, as a folder that may
// not be written refuses it, and reserving room can fail with a given error.
class RecordingFileSystem final : public FileSystem {
public:
    RecordingFileSystem(bool refusesNewFiles, int reserveError)
        : refusesNewFiles_(refusesNewFiles), reserveError_(reserveError) {}

    int Open(const char* path, int flags, mode_t mode) override {
        const std::string file =
            std::filesystem::path(path).filename().string().starts_with('.') ? "temporary" : "file";
        if ((flags & O_CREAT) != 0 && refusesNewFiles_) {
            calls.push_back("refused " + file);
            errno = EACCES;
            return -1;
        }
        const int descriptor = SystemFileSystem().Open(path, flags, mode);
        files_[descriptor] = file;
        calls.push_back("open " + file);
        return descriptor;
    }
    ssize_t Write(int descriptor, std::string_view bytes) override {
        calls.push_back("write " + files_[descriptor]);
        return SystemFileSystem().Write(descriptor, bytes);
    }
    int Reserve(int descriptor, off_t length) override {
        calls.push_back("reserve " + files_[descriptor]);
        if (reserveError_ != 0) {
            errno = reserveError_;
            return -1;
        }
        return SystemFileSystem().Reserve(descriptor, length);
    }
    int Truncate(int descriptor, off_t length) override {
        calls.push_back("truncate " + files_[descriptor]);
        return SystemFileSystem().Truncate(descriptor, length);
    }
    int Sync(int descriptor) override {
        calls.push_back("sync " + files_[descriptor]);
        return SystemFileSystem().Sync(descriptor);
    }
    int Close(int descriptor) override {
        calls.push_back("close " + files_[descriptor]);
        return SystemFileSystem().Close(descriptor);
    }
    int Rename(const char* from, const char* to) override {
        calls.push_back("rename temporary");
        return SystemFileSystem().Rename(from, to);
    }
    int Unlink(const char* path) override {
        calls.push_back("unlink temporary");
        return SystemFileSystem().Unlink(path);
    }

    Names calls;

private:
    bool refusesNewFiles_;
    int reserveError_;
    std::map<int, std::string> files_;
};

struct OrderCase {
    const char* what;
    bool folderRefusesNewFiles;
    int reserveError;
    Names calls;
    const char* reason; // the error's reason after the file's name, when the save fails
};

// The new content is on the disk before it takes the old one's place: no result shows it, the
// order of the file operations does.
TEST(WriteTextFile, SyncsTheNewContentBeforeItTakesTheOldOnesPlace) {
    const OrderCase cases[] = {
        {"a replaced file",
         false,
         0,
         {"open temporary", "write temporary", "sync temporary", "close temporary",
          "rename temporary"},
         nullptr},
        {"a file rewritten in place",
         true,
         0,
         {"refused temporary", "open file", "reserve file", "write file", "truncate file",
          "sync file", "close file"},
         nullptr},
        {"a rewrite where room cannot be reserved",
         true,
         EOPNOTSUPP,
         {"refused temporary", "open file", "reserve file", "write file", "truncate file",
          "sync file", "close file"},
         nullptr},
        {"a rewrite on a full disk",
         true,
         ENOSPC,
         {"refused temporary", "open file", "reserve file", "close file"},
         "Disque plein"},
    };
    for (const OrderCase& c : cases) {
        SCOPED_TRACE(c.what);
        TemporaryFolder folder;
        folder.WriteBytes("PARAM.ini", "http://a-longer-old-address.example/\r\n");
        RecordingFileSystem system(c.folderRefusesNewFiles, c.reserveError);
        const std::filesystem::path file = folder.Native("PARAM.ini");
        if (c.reason) {
            EXPECT_THAT([&] { SaveFile(system, file, "http://x/\r\n"); },
                        testing::ThrowsMessage<FileError>(file.string() + " : " + c.reason));
            EXPECT_EQ(folder.ReadBytes("PARAM.ini"), "http://a-longer-old-address.example/\r\n");
        } else {
            SaveFile(system, file, "http://x/\r\n");
            EXPECT_EQ(folder.ReadBytes("PARAM.ini"), "http://x/\r\n");
        }
        EXPECT_EQ(system.calls, c.calls);
    }
}

// A tmpfs of a few pages, mounted on `folder` while it lives.
class SmallDisk final {
public:
    explicit SmallDisk(const std::filesystem::path& folder) : folder_(folder) {
        std::filesystem::create_directory(folder_);
        mounted_ = mount("tmpfs", folder_.c_str(), "tmpfs", 0, "size=64k,mode=0755") == 0;
    }
    ~SmallDisk() {
        if (mounted_) {
            umount2(folder_.c_str(), MNT_DETACH);
        }
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return mounted_; }

    // Writes a file that takes all the room left.
    void Fill() const {
        const std::string page(4096, 'f');
        std::ofstream filler(folder_ / "filler", std::ios::binary);
        while (filler.write(page.data(), static_cast<std::streamsize>(page.size()))) {
            filler.flush();
        }
    }

private:
    std::filesystem::path folder_;
    bool mounted_ = false;
};

// A save on a full disk leaves the old content whole, whether it replaces the file or, where only
// the file may be written (saved by nobody in root's folder), rewrites it in place; the error
// names the file and the full disk.
TEST(WriteTextFile, AFullDiskLeavesTheOldContentWhole) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "mounting a small tmpfs and saving as another user needs root";
    }
    for (const bool inPlace : {false, true}) {
        SCOPED_TRACE(inPlace ? "rewritten in place" : "replaced");
        TemporaryFolder folder;
        ASSERT_EQ(chmod(folder.Native("").c_str(), 0755), 0);
        const SmallDisk disk(folder.Native("disk"));
        if (!disk.Mounted()) {
            GTEST_SKIP() << "no tmpfs can be mounted here: " << std::strerror(errno);
        }
        const std::string previous = "http://old.example/tmp/\r\n";
        folder.WriteBytes("disk/PARAM.ini", previous);
        ASSERT_EQ(chmod(folder.Native("disk/PARAM.ini").c_str(), 0666), 0);
        disk.Fill();

        const int status = SavedInChild(
            [&] {
                WriteTextFile(folder.ProgramPath("disk/PARAM.ini"), std::u16string(6000, u'a'));
            },
            folder.Native("disk/PARAM.ini").string() + " : Disque plein", inPlace);

        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 1) << "the save did not fail with a full disk";
        EXPECT_EQ(folder.ReadBytes("disk/PARAM.ini"), previous);
        Names left;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Native("disk"))) {
            left.push_back(entry.path().filename().string());
        }
        EXPECT_THAT(left, testing::UnorderedElementsAre("PARAM.ini", "filler"));
    }
}

} // namespace
} // namespace mdCode

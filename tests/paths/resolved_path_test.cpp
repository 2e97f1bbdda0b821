#include "paths/resolved_path.h"

#include "support/temporary_folder.h"

#include <gtest/gtest.h>

namespace mdCode {
namespace {

struct ResolveCase {
    std::string path;
    std::string currentFolder; // below the test's folder
    std::string expected;      // below the test's folder
};

// real/ holds v3.pdf and latest.pdf, a link to it; link/ is a link to real/.
TEST(ResolvedPath, IsAbsoluteNormalAndResolvesLinksInTheFolderPartOnly) {
    TemporaryFolder folder;
    const std::string root = std::filesystem::canonical(folder.Native("")).string();
    std::filesystem::create_directory(root + "/real");
    std::filesystem::create_directory(root + "/real/sub");
    folder.WriteBytes("real/v3.pdf", "3");
    std::filesystem::create_symlink("v3.pdf", root + "/real/latest.pdf");
    std::filesystem::create_directory_symlink("real", root + "/link");

    const ResolveCase cases[] = {
        {"real/a b.txt", "", "/real/a b.txt"},
        {"a b.txt", "/real", "/real/a b.txt"},
        {"./a b.txt", "/real/", "/real/a b.txt"},
        {"sub/../a b.txt", "/real", "/real/a b.txt"},
        {"real//sub///x", "", "/real/sub/x"},
        {"link/a b.txt", "", "/real/a b.txt"},
        {"link/sub/../x", "", "/real/x"},
        {"real/latest.pdf", "", "/real/latest.pdf"},
        {"link/latest.pdf", "", "/real/latest.pdf"},
        {"link", "", "/link"},
        {"real/sub/", "", "/real/sub"},
        {".", "/real", "/real"},
        {"..", "/real/sub", "/real"},
        {"absent/../x", "", "/x"},
        {"absent/./y/", "", "/absent/y"},
        {"-style", "/real", "/real/-style"},
        {"back\\slash \xFF", "/real", "/real/back\\slash \xFF"},
        {root + "/link/x", "/real/sub", "/real/x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path + " in " + c.currentFolder);
        EXPECT_EQ(ResolvedPath(c.path, root + c.currentFolder), root + c.expected);
    }
}

// The program folder is real/; real/videos is a link to outside/, real/same a link to real/sub.
TEST(ResolvedPath, KeepsAPathBelowTheProgramFolderAsItIsWritten) {
    TemporaryFolder folder;
    const std::string root = std::filesystem::canonical(folder.Native("")).string();
    for (const char* subfolder : {"/real/sub", "/outside"})
        std::filesystem::create_directories(root + subfolder);
    std::filesystem::create_directory_symlink("../outside", root + "/real/videos");
    std::filesystem::create_directory_symlink("sub", root + "/real/same");
    std::filesystem::create_directory_symlink("real", root + "/link");

    const std::pair<std::string, std::string> cases[] = {
        {"real/videos/clip 1.mp4", "/real/videos/clip 1.mp4"},
        {"real/./videos//clip.mp4", "/real/videos/clip.mp4"},
        {"real/same/x.txt", "/real/same/x.txt"},
        // ".." after a link is taken from where the link leads, as the system takes it.
        {"real/videos/../x.txt", "/x.txt"},
        {"link/videos/clip.mp4", "/outside/clip.mp4"},
        {"link/sub/x.txt", "/real/sub/x.txt"},
    };
    for (const auto& [path, expected] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(ResolvedPath(path, root, root + "/real"), root + expected);
    }
}

TEST(ResolvedPath, ResolvesFromTheRootFolder) {
    EXPECT_EQ(ResolvedPath("/", "/tmp"), "/");
    EXPECT_EQ(ResolvedPath("absent-name", "/"), "/absent-name");
    EXPECT_EQ(ResolvedPath("/absent-folder/../absent-name", "/"), "/absent-name");
}

} // namespace
} // namespace mdCode

#include "files/web_server_access.h"

#include "files/file_error.h"
#include "support/temporary_folder.h"

#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mdCode {
namespace {

struct AccessCase {
    const char* what;
    mode_t folderMode;
    mode_t subfolderMode;
    mode_t fileMode;
    // Gives the file or the subfolder to a web server's group or user; needs root.
    std::function<void(const TemporaryFolder&)> give;
    // "folder", "sub", "file": what is in the way, in order.
    std::vector<std::string> obstacles;
};

void ToServersGroup(const std::filesystem::path& path) {
    ASSERT_EQ(chown(path.c_str(), static_cast<uid_t>(-1), getgrnam("www-data")->gr_gid), 0);
}

// The program folder is "folder"; the file is "folder/sub/page.html".
TEST(WebServerAccess, FindsWhatKeepsTheServerFromAFile) {
    const auto group = [](const char* name) {
        return [=](const TemporaryFolder& folder) { ToServersGroup(folder.Native(name)); };
    };
    const std::function<void(const TemporaryFolder&)> none;
    const AccessCase cases[] = {
        {"readable by all", 0755, 0755, 0644, none, {}},
        {"a private file", 0755, 0755, 0600, none, {"file"}},
        {"a file for its group", 0755, 0755, 0640, none, {"file"}},
        {"a private subfolder", 0755, 0700, 0644, none, {"sub"}},
        {"a private program folder and file", 0700, 0755, 0600, none, {"folder", "file"}},
        {"a folder others may read but not enter", 0755, 0754, 0644, none, {"sub"}},
        {"a file of the server's group", 0755, 0755, 0640, group("folder/sub/page.html"), {}},
        {"a file of the server's group that it may not read",
         0755,
         0755,
         0600,
         group("folder/sub/page.html"),
         {"file"}},
        {"a subfolder of the server's group", 0755, 0750, 0644, group("folder/sub"), {}},
        {"a file the server owns",
         0755,
         0755,
         0600,
         [](const TemporaryFolder& folder) {
             ASSERT_EQ(chown(folder.Native("folder/sub/page.html").c_str(),
                             getpwnam("www-data")->pw_uid, static_cast<gid_t>(-1)),
                       0);
         },
         {}},
    };
    const bool canGive = geteuid() == 0 && getgrnam("www-data") && getpwnam("www-data");
    for (const AccessCase& c : cases) {
        SCOPED_TRACE(c.what);
        TemporaryFolder folder;
        std::filesystem::create_directories(folder.Native("folder/sub"));
        folder.WriteBytes("folder/sub/page.html", "<p>");
        chmod(folder.Native("folder/sub/page.html").c_str(), c.fileMode);
        chmod(folder.Native("folder/sub").c_str(), c.subfolderMode);
        chmod(folder.Native("folder").c_str(), c.folderMode);
        if (c.give && !canGive)
            continue;
        if (c.give)
            c.give(folder);
        const std::map<std::string, std::string> paths = {
            {folder.Native("folder").string(), "folder"},
            {folder.Native("folder/sub").string(), "sub"},
            {folder.Native("folder/sub/page.html").string(), "file"}};
        WebServerAccess access(folder.Native("folder").string());
        std::vector<std::string> found;
        for (const Obstacle& obstacle :
             access.ObstaclesTo(folder.Native("folder/sub/page.html").string()))
            found.push_back(paths.at(obstacle.path));
        EXPECT_EQ(found, c.obstacles);
        chmod(folder.Native("folder").c_str(), 0755);
        chmod(folder.Native("folder/sub").c_str(), 0755);
    }
}

// What a "Oui" does: others may read the file and enter its folders; the other bits stay.
TEST(WebServerAccess, RemovesTheObstaclesItFound) {
    TemporaryFolder folder;
    std::filesystem::create_directories(folder.Native("folder/sub"));
    folder.WriteBytes("folder/sub/page.html", "<p>");
    chmod(folder.Native("folder/sub/page.html").c_str(), 0600);
    chmod(folder.Native("folder/sub").c_str(), 0700);
    WebServerAccess access(folder.Native("folder").string());
    const std::vector<Obstacle> obstacles =
        access.ObstaclesTo(folder.Native("folder/sub/page.html").string());
    ASSERT_EQ(obstacles.size(), 2u);
    EXPECT_EQ(ObstacleReason(obstacles[0]),
              "le serveur web ne pourra pas y entrer (droits rwx------)");
    EXPECT_EQ(ObstacleReason(obstacles[1]),
              "le serveur web ne pourra pas le lire (droits rw-------)");
    RemoveObstacles(folder.Native("folder").string(), obstacles);
    struct stat status {};
    ASSERT_EQ(stat(folder.Native("folder/sub").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0701u);
    ASSERT_EQ(stat(folder.Native("folder/sub/page.html").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0604u);
    EXPECT_TRUE(WebServerAccess(folder.Native("folder").string())
                    .ObstaclesTo(folder.Native("folder/sub/page.html").string())
                    .empty());
}

// A link planted in the folder to a private file elsewhere is refused, and nothing is changed.
TEST(WebServerAccess, OpensNoFileOutsideTheFolderThroughALink) {
    TemporaryFolder folder;
    std::filesystem::create_directories(folder.Native("folder/sub"));
    folder.WriteBytes("secret", "key");
    chmod(folder.Native("secret").c_str(), 0600);
    std::filesystem::create_symlink("../../secret", folder.Native("folder/sub/key"));
    chmod(folder.Native("folder/sub").c_str(), 0700);
    WebServerAccess access(folder.Native("folder").string());
    const std::vector<Obstacle> obstacles =
        access.ObstaclesTo(folder.Native("folder/sub/key").string());
    ASSERT_EQ(obstacles.size(), 2u);
    EXPECT_THROW(RemoveObstacles(folder.Native("folder").string(), obstacles), FileError);
    struct stat status {};
    ASSERT_EQ(stat(folder.Native("secret").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0600u);
    ASSERT_EQ(stat(folder.Native("folder/sub").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0700u);
}

} // namespace
} // namespace mdCode

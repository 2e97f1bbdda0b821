#include "cli/deploy/changes.h"

#include "files/file_error.h"
#include "support/temporary_folder.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace deploy {
namespace {

namespace fs = std::filesystem;

// Every name below the folder, hidden ones and folders included, with the bytes of each file.
std::vector<std::string> Everything(const mdCode::TemporaryFolder& folder) {
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder.Native(""))) {
        const std::string name = fs::relative(entry.path(), folder.Native("")).string();
        found.push_back(entry.is_regular_file() ? name + "=" + folder.ReadBytes(name) : name);
    }
    std::sort(found.begin(), found.end());
    return found;
}

// The folder holds a file to replace, one to remove and a link to change; the changes add a file
// in new folders.
void Arrange(const mdCode::TemporaryFolder& folder) {
    folder.WriteBytes("replaced", "old");
    folder.WriteBytes("removed", "gone");
    fs::create_symlink("replaced", folder.Native("link"));
}

void Ask(Changes& changes, const mdCode::TemporaryFolder& folder) {
    changes.Put(folder.Native("replaced"), "new");
    changes.Put(folder.Native("made/deeper/added"), "added", 0644);
    changes.Remove(folder.Native("removed"));
    changes.Link(folder.Native("link"), "elsewhere");
}

TEST(Changes, AreMadeTogether) {
    mdCode::TemporaryFolder folder;
    Arrange(folder);
    {
        Changes changes;
        Ask(changes, folder);
        changes.Commit();
    }
    EXPECT_EQ(Everything(folder),
              (std::vector<std::string>{"link", "made", "made/deeper", "made/deeper/added=added",
                                        "replaced=new"}));
    EXPECT_EQ(fs::read_symlink(folder.Native("link")), "elsewhere");
}

// Changes not committed (a failure or an interruption on the way) leave everything as it was;
// so does a commit that fails half-way: here the last file's prepared content went missing.
TEST(Changes, LeaveEverythingAsItWasUnlessAllAreMade) {
    for (const bool commitFails : {false, true}) {
        SCOPED_TRACE(commitFails ? "a commit that fails" : "no commit");
        mdCode::TemporaryFolder folder;
        Arrange(folder);
        const std::vector<std::string> before = Everything(folder);
        {
            Changes changes;
            Ask(changes, folder);
            changes.Put(folder.Native("last"), "last");
            if (commitFails) {
                for (const auto& entry : fs::directory_iterator(folder.Native("")))
                    if (entry.path().filename().string().starts_with(".last."))
                        fs::remove(entry.path());
                EXPECT_THROW(changes.Commit(), mdCode::FileError);
            }
        }
        EXPECT_EQ(Everything(folder), before);
        EXPECT_EQ(fs::read_symlink(folder.Native("link")), "replaced");
    }
}

} // namespace
} // namespace deploy

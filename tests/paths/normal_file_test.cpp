#include "paths/normal_file.h"

#include "support/temporary_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace mdCode {
namespace {

struct EntryCase {
    const char* name;
    unsigned char type;
    bool normal;
};

// Some file systems give every entry the type "unknown": the entry is then looked at.
TEST(IsNormalFileEntry, TrustsTheEntryTypeAndLooksAtLinksAndUnknownEntries) {
    TemporaryFolder folder;
    folder.WriteBytes("file", "x");
    folder.WriteBytes(".hidden", "x");
    std::filesystem::create_directory(folder.Native("folder"));
    std::filesystem::create_symlink("file", folder.Native("link to a file"));
    std::filesystem::create_symlink("folder", folder.Native("link to a folder"));
    const EntryCase cases[] = {
        {"file", DT_UNKNOWN, true},           {"folder", DT_UNKNOWN, false},
        {"link to a file", DT_UNKNOWN, true}, {"link to a folder", DT_UNKNOWN, false},
        {"absent", DT_UNKNOWN, false},        {"link to a file", DT_LNK, true},
        {"link to a folder", DT_LNK, false},  {"folder", DT_DIR, false},
        {".hidden", DT_REG, false},           {".hidden", DT_UNKNOWN, false},
    };
    const int descriptor = open(folder.Native("").c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(descriptor, 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name + std::string(" of type ") + std::to_string(c.type));
        EXPECT_EQ(IsNormalFileEntry(descriptor, c.name, c.type), c.normal);
    }
    close(descriptor);
}

} // namespace
} // namespace mdCode

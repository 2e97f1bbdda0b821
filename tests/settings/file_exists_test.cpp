#include "settings/settings_file.h"

#include "support/temporary_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace mdCode {
namespace {

struct ExistsCase {
    const char* what;
    std::string name;
    bool expected;
};

TEST(FileExists, FindsOnlyNormalFiles) {
    TemporaryFolder folder;
    folder.WriteBytes("PARAM.ini", "http://x/\r\n");
    folder.WriteBytes(".hidden", "x");
    folder.WriteBytes("read-only.txt", "x");
    ASSERT_EQ(chmod(folder.Native("read-only.txt").c_str(), 0444), 0);
    std::filesystem::create_directory(folder.Native("sub"));
    folder.WriteBytes("sub/inner.txt", "x");

    const ExistsCase cases[] = {
        {"normal file", "PARAM.ini", true},
        {"read-only file", "read-only.txt", true},
        {"file in a subfolder", "sub/inner.txt", true},
        {"missing file", "missing.ini", false},
        {"folder without a final separator", "sub", false},
        {"hidden file", ".hidden", false},
        {"file below a missing folder", "missing/PARAM.ini", false},
        {"letter case differs", "param.ini", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FileExists(folder.ProgramPath(c.name)), c.expected);
    }
}

TEST(FileExists, IsFalseForPathsThatNameNoFile) {
    TemporaryFolder folder;
    folder.WriteBytes("PARAM.ini", "x");
    EXPECT_FALSE(FileExists(u""));
    EXPECT_FALSE(FileExists(folder.ProgramPath("PARAM.ini") + u"\\"));
    EXPECT_FALSE(FileExists(folder.ProgramPath("") + u"\\"));
    EXPECT_FALSE(FileExists(folder.ProgramPath("") + u"\\" + char16_t{0xD800}));
}

} // namespace
} // namespace mdCode

#include "forms/folder_listing.h"

#include "paths/program_path.h"

#include <QFile>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace forms {
namespace {

std::vector<QString> Shown(const std::vector<ListedFile>& files) {
    std::vector<QString> shown;
    for (const ListedFile& file : files)
        shown.push_back(file.shown);
    return shown;
}

struct NameCase {
    std::string native;
    std::u16string name;
    QString shown;
};

// A folder whose own path holds "\", "#", "%", a blank and an accent; files named with bytes
// of every kind, beside what is no normal file.
TEST(ListFolder, ListsEveryNormalFileByItsExactNameAndShowsItReadably) {
    const QTemporaryDir temporary;
    const std::string folder = QFile::encodeName(temporary.path()).toStdString() +
                               "/back\\slash #1 100% \xC3\xA9t\xC3\xA9";
    std::filesystem::create_directories(folder + "/sub folder");
    const NameCase cases[] = {
        {"a b.txt", u"a b.txt", QStringLiteral("a b.txt")},
        {"bad\xFF\xFE.txt", u"bad\xDCFF\xDCFE.txt", QStringLiteral("bad\uFFFD\uFFFD.txt")},
        {"x\\y.txt", u"x\uF05Cy.txt", QStringLiteral("x\\y.txt")},
        {"\xE6\x97\xA5\xE6\x9C\xAC.txt", u"\u65E5\u672C.txt", QStringLiteral("\u65E5\u672C.txt")},
        {"tab\there", u"tab\there", QStringLiteral("tab\there")},
        {"link to a b", u"link to a b", QStringLiteral("link to a b")},
    };
    for (const NameCase& c : cases) {
        if (c.native.starts_with("link"))
            std::filesystem::create_symlink("a b.txt", folder + "/" + c.native);
        else
            std::ofstream(folder + "/" + c.native) << "x";
    }
    std::ofstream(folder + "/.hidden") << "x";
    std::filesystem::create_symlink("sub folder", folder + "/link to a folder");
    std::filesystem::create_symlink("absent", folder + "/broken link");

    const std::vector<ListedFile> files = ListFolder(mdCode::ToProgramForm(folder));

    ASSERT_EQ(files.size(), std::size(cases));
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.native);
        const auto found = std::find_if(files.begin(), files.end(), [&c](const ListedFile& file) {
            return file.name == c.name;
        });
        ASSERT_NE(found, files.end());
        EXPECT_EQ(found->shown, c.shown);
    }
    // QTemporaryDir cannot remove names that are not UTF-8.
    std::filesystem::remove_all(folder);
}

TEST(ListFolder, SortsWithoutRegardToCase) {
    const QTemporaryDir temporary;
    const std::string folder = QFile::encodeName(temporary.path()).toStdString();
    for (const char* name : {"b.txt", "PARAM.ini", "A.txt", "c.txt", "a.txt"})
        std::ofstream(folder + "/" + name) << "x";

    const std::vector<ListedFile> files = ListFolder(mdCode::ToProgramForm(folder));

    EXPECT_EQ(Shown(files),
              (std::vector<QString>{"A.txt", "a.txt", "b.txt", "c.txt", "PARAM.ini"}));
}

TEST(ListFolder, GivesNothingForAFolderThatCannotBeRead) {
    EXPECT_TRUE(ListFolder(u"\\absent folder\\x").empty());
}

} // namespace
} // namespace forms

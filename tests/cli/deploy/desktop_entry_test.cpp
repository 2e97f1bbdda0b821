#include "cli/deploy/desktop_entry.h"
#include "cli/deploy/entry_names.h"

#include <gtest/gtest.h>

namespace deploy {
namespace {

// An Exec argument is a desktop entry's quoted word, then its string value: "\" and "$"
// escaped inside the quotes, each escape escaped once more, "%" doubled.
TEST(DesktopEntry, QuotesEachExecArgument) {
    const std::pair<std::string, std::string> cases[] = {
        {"/srv/www/tmp", R"("/srv/www/tmp")"},
        {"/srv/mon site", R"("/srv/mon site")"},
        {R"(/srv/a "b")", R"("/srv/a \\"b\\"")"},
        {"/srv/$HOME `id`", R"("/srv/\\$HOME \\`id\\`")"},
        {R"(/srv/back\slash)", R"("/srv/back\\\\slash")"},
        {"/srv/100%", R"("/srv/100%%")"},
        {"/srv/a'b;c", R"("/srv/a'b;c")"},
    };
    for (const auto& [value, argument] : cases) {
        SCOPED_TRACE(value);
        EXPECT_EQ(ExecArgument(value), argument);
    }
}

// GIO looks for the program before it reads "%%", so a "%" in its path goes through sh.
TEST(DesktopEntry, StartsAProgramWhosePathHoldsAPercentThroughSh) {
    const std::string plain = LauncherEntry("/srv/www/tmp");
    EXPECT_NE(plain.find("\nExec=\"/srv/www/tmp/lirvane\" %f\n"), std::string::npos) << plain;
    EXPECT_NE(plain.find("\nName=Lirvane – tmp\n"), std::string::npos) << plain;
    const std::string percent = LauncherEntry("/srv/100%");
    EXPECT_NE(percent.find("\nExec=sh -c \"exec \\\\\"\\\\$0\\\\\" \\\\\"\\\\$@\\\\\"\" "
                           "\"/srv/100%%/lirvane\" %f\n"),
              std::string::npos)
        << percent;
}

// The names of earlier versions' entries, which a new deploy must find to replace or remove.
TEST(EntryNames, NamesAFolderAsEveryVersionDid) {
    EXPECT_EQ(EntryId("/srv/www/tmp"), "lirvane-8a13f88f9e9b");
    EXPECT_EQ(EntryId("/var/www/html/été 100%"), "lirvane-ce75e2635a9b");
    EXPECT_EQ(FolderDisplayName("/var/www/html/tmp"), "tmp");
    EXPECT_EQ(FolderDisplayName("/"), "/");
}

TEST(EntryNames, RefusesFolderNamesThatNoEntryCanHold) {
    EXPECT_EQ(FolderNameRefusal("/srv/été", "un lanceur"), "");
    EXPECT_EQ(FolderNameRefusal("/srv/a\tb", "un lanceur"),
              "un lanceur ne peut pas nommer un dossier dont le chemin contient des caractères de "
              "contrôle");
    EXPECT_EQ(FolderNameRefusal("/srv/\xC2\x85", "un lanceur"),
              "un lanceur ne peut pas nommer un dossier dont le chemin contient des caractères de "
              "contrôle");
    EXPECT_EQ(FolderNameRefusal("/srv/\xFF", "une entrée de menu"),
              "une entrée de menu demande un chemin de dossier en UTF-8");
}

} // namespace
} // namespace deploy

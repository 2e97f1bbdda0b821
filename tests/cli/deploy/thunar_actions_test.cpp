#include "cli/deploy/thunar_actions.h"

#include <gtest/gtest.h>

namespace deploy {
namespace {

const ThunarAction Ours{"lirvane-0123456789ab", "Copier l'adresse web – tmp",
                        "Adresse web des fichiers de /srv/www/tmp", "edit-copy",
                        "'/usr/bin/lirvane-address' --copy --notify --folder '/srv/www/tmp' -- %F"};

// Two actions of the user's as Thunar writes them, with what a hand may add: a comment, a
// translated name, a character outside the BMP, markup in the command.
const std::string Indented = R"(<?xml version="1.0" encoding="UTF-8"?>
<actions>
<action>
	<icon>utilities-terminal</icon>
	<name>Open Terminal Here</name>
	<name xml:lang="fr">Ouvrir un terminal ici 🖥</name>
	<unique-id>1300000000000001-1</unique-id>
	<command>exo-open --working-directory %f --launch TerminalEmulator</command>
	<description>Example for a custom action</description>
	<patterns>*</patterns>
	<startup-notify/>
	<directories/>
</action>
<!-- mine -->
<action>
	<icon></icon>
	<name>Size</name>
	<unique-id>1300000000000002-2</unique-id>
	<command>du -sh %F &gt; /tmp/size &amp;&amp; true</command>
	<description></description>
	<patterns>*</patterns>
	<other-files/>
</action>

</actions>
)";

// The layout Debian ships in /etc/xdg: a document type with its own declarations first.
const std::string WithDocumentType =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE actions [\n"
    "  <!ELEMENT actions (action)+>\n]>\n<actions>\n\n  <action>\n    <name>A</name>\n"
    "    <unique-id>a</unique-id>\n  </action>\n\n</actions>\n";

const std::string Compact =
    "<actions><action><name>A</name><unique-id>a</unique-id></action></actions>";

// Each file, with ours added and taken away again, is the same file, byte for byte; added
// twice it holds it once, in the same place.
TEST(ThunarActions, KeepsTheUsersTextAroundOurAction) {
    for (const std::string& before : {Indented, WithDocumentType, Compact}) {
        const std::string with = WithThunarAction(before, Ours);
        EXPECT_EQ(with.find("<unique-id>" + Ours.uniqueId),
                  with.rfind("<unique-id>" + Ours.uniqueId));
        const std::size_t ours = with.find("<action>\n\t<icon>edit-copy");
        ASSERT_NE(ours, std::string::npos) << with;
        EXPECT_EQ(with.substr(0, ours), before.substr(0, ours)) << with;
        EXPECT_EQ(with.substr(with.size() - (before.size() - ours)), before.substr(ours));
        EXPECT_EQ(WithThunarAction(with, Ours), with);
        EXPECT_EQ(WithoutThunarAction(with, Ours.uniqueId), before);
    }
}

// A byte-order mark, which another editor may have put before the text, stays; so does a record
// of ours, until the last of our actions goes.
TEST(ThunarActions, KeepsAByteOrderMarkAndOurRecord) {
    const std::string marked = "\xEF\xBB\xBF" + Indented;
    const std::string with = WithThunarAction(marked, Ours, "absent");
    EXPECT_TRUE(with.starts_with("\xEF\xBB\xBF<?xml"));
    EXPECT_EQ(ThunarRecord(with), "absent");
    EXPECT_EQ(WithoutThunarAction(with, Ours.uniqueId), marked);

    ThunarAction other = Ours;
    other.uniqueId = "lirvane-ba9876543210";
    const std::string both = WithThunarAction(with, other, "empty");
    EXPECT_EQ(ThunarRecord(both), "absent");
    EXPECT_EQ(ThunarRecord(WithoutThunarAction(both, Ours.uniqueId)), "absent");
    EXPECT_EQ(WithoutThunarAction(WithoutThunarAction(both, Ours.uniqueId), other.uniqueId),
              marked);
}

TEST(ThunarActions, ReplacesOurOlderActionWhereItStands) {
    ThunarAction older = Ours;
    older.command = "'/old/lirvane-address' --copy --folder '/srv/www/tmp' -- %F";
    const std::string withOlder = WithThunarAction(Indented, older);
    const std::string mine = withOlder + "<!-- after -->\n";
    const std::string replaced = WithThunarAction(mine, Ours);
    EXPECT_EQ(replaced, WithThunarAction(Indented, Ours) + "<!-- after -->\n");
}

TEST(ThunarActions, StartsAFileThatDoesNotExistYet) {
    const std::string created = WithThunarAction("", Ours);
    EXPECT_TRUE(created.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n"));
    EXPECT_NE(created.find("<command>'/usr/bin/lirvane-address' --copy --notify --folder "
                           "'/srv/www/tmp' -- %F</command>"),
              std::string::npos);
    EXPECT_EQ(WithoutThunarAction(created, Ours.uniqueId),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n</actions>\n");
}

TEST(ThunarActions, LeavesAFileWithoutOurActionAlone) {
    EXPECT_EQ(WithoutThunarAction(Indented, Ours.uniqueId), Indented);
}

TEST(ThunarActions, RefusesWhatItCannotMergeInto) {
    const struct {
        std::string file;
        std::string why;
    } cases[] = {
        {"<actions><action>", "ce n'est pas du XML valable"},
        {"<actions/>", "il ne contient pas de liste d'actions"},
        {"<menu><action/></menu>", "il ne contient pas de liste d'actions"},
        {"<actions>\xe9</actions>", "il n'est pas en UTF-8"},
    };
    for (const auto& [file, why] : cases) {
        try {
            WithThunarAction(file, Ours);
            ADD_FAILURE() << file << " was merged into";
        } catch (const UnreadableThunarActions& error) {
            EXPECT_NE(std::string(error.what()).find(why), std::string::npos) << error.what();
        }
    }
}

} // namespace
} // namespace deploy

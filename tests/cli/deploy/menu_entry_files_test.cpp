#include "cli/deploy/menu_entry_files.h"

#include <gtest/gtest.h>

namespace deploy {
namespace {

// A folder whose path holds "%": Nautilus and Caja run no script whose name holds one, and Nemo
// reads "%" as the start of a code in its Exec line.
TEST(MenuEntryFiles, KeepAPercentWhereEachFileManagerNeedsIt) {
    const UserPlaces places([](const char* variable) -> const char* {
        return std::string_view(variable) == "HOME" ? "/home/ana" : nullptr;
    });
    const std::string folder = "/srv/site 100%/tmp 50%";
    const EntryTarget target{folder, "/usr/bin/lirvane-address", EntryLabel(folder, "site 100%")};
    EXPECT_EQ(target.label, "Copier l'adresse web – tmp 50٪ (site 100٪)");
    for (const EntryFile& script : ScriptEntryFiles(places, target)) {
        EXPECT_EQ(script.path.filename().string().find('%'), std::string::npos) << script.path;
        EXPECT_NE(script.content.find("--folder '/srv/site 100%/tmp 50%'"), std::string::npos);
    }
    const EntryFile nemo = NamedEntryFiles(places, target).front();
    EXPECT_NE(nemo.content.find("--folder '/srv/site 100%%/tmp 50%%' -- %F"), std::string::npos)
        << nemo.content;
}

} // namespace
} // namespace deploy

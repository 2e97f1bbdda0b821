#include "cli/deploy/refusal.h"
#include "cli/deploy/user_places.h"

#include <gtest/gtest.h>
#include <map>

namespace deploy {
namespace {

struct PlacesCase {
    const char* what;
    std::map<std::string, std::string> environment;
    // Empty: refused for want of a home.
    std::string dataHome;
    std::string configHome;
    std::vector<std::filesystem::path> configDirs;
};

// The XDG rules: a variable that is unset, empty or relative is ignored; without a home to fall
// back on, nothing is written.
TEST(UserPlaces, FollowsTheXdgRules) {
    const std::vector<std::filesystem::path> system = {"/etc/xdg"};
    const PlacesCase cases[] = {
        {"a home", {{"HOME", "/home/ana"}}, "/home/ana/.local/share", "/home/ana/.config", system},
        {"XDG folders",
         {{"HOME", "/home/ana"},
          {"XDG_DATA_HOME", "/data"},
          {"XDG_CONFIG_HOME", "/config"},
          {"XDG_CONFIG_DIRS", "/etc/a:relative:/etc/b"}},
         "/data",
         "/config",
         {"/etc/a", "/etc/b"}},
        {"relative XDG folders",
         {{"HOME", "/home/ana"}, {"XDG_DATA_HOME", "data"}, {"XDG_CONFIG_HOME", ""}},
         "/home/ana/.local/share",
         "/home/ana/.config",
         system},
        {"no home", {}, "", "", system},
        {"a relative home", {{"HOME", "ana"}}, "", "", system},
        {"no home but XDG folders",
         {{"XDG_DATA_HOME", "/data"}, {"XDG_CONFIG_HOME", "/config"}},
         "/data",
         "/config",
         system},
    };
    for (const PlacesCase& c : cases) {
        SCOPED_TRACE(c.what);
        const UserPlaces places([&](const char* variable) -> const char* {
            const auto found = c.environment.find(variable);
            return found == c.environment.end() ? nullptr : found->second.c_str();
        });
        if (c.dataHome.empty()) {
            EXPECT_THROW(places.DataHome(), Refusal);
            EXPECT_THROW(places.ConfigHome(), Refusal);
        } else {
            EXPECT_EQ(places.DataHome(), c.dataHome);
            EXPECT_EQ(places.ConfigHome(), c.configHome);
        }
        EXPECT_EQ(places.ConfigDirs(), c.configDirs);
    }
}

} // namespace
} // namespace deploy

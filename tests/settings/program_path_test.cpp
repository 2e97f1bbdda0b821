#include "settings/program_path.h"

#include <gtest/gtest.h>

namespace mdCode {
namespace {

TEST(ProgramPath, UsesBackslashesBetweenFolders) {
    EXPECT_EQ(ToProgramForm(u"/srv/www/tmp"), u"\\srv\\www\\tmp");
    EXPECT_EQ(ToProgramForm(u"/srv/www/tmp/"), u"\\srv\\www\\tmp\\");
    EXPECT_EQ(ToProgramForm(u"PARAM.ini"), u"PARAM.ini");
}

TEST(ProgramPath, TurnsBackIntoTheSystemPath) {
    EXPECT_EQ(ToNativePath(u"\\srv\\www\\tmp\\PARAM.ini"),
              std::filesystem::path("/srv/www/tmp/PARAM.ini"));
    EXPECT_EQ(ToNativePath(u"\\tmp\\\u00E9t\u00E9 \u4E2D").native(),
              "/tmp/\xC3\xA9t\xC3\xA9 \xE4\xB8\xAD");
}

TEST(ProgramPath, RoundTripsAPath) {
    const std::u16string native = u"/home/user/Sites/tmp/rapport final.pdf";
    EXPECT_EQ(ToNativePath(ToProgramForm(native)).u16string(), native);
}

} // namespace
} // namespace mdCode

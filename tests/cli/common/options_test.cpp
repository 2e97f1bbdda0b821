#include "cli/common/options.h"
#include "cli/common/shown_text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace cli {
namespace {

using namespace std::string_literals;

constexpr Option Known[] = {{"--copy"}, {"--folder", "un dossier"}};

TEST(Options, StandBeforeBetweenOrAfterTheOperands) {
    const Arguments parsed =
        ParseArguments({"a", "--copy", "-", "--folder", "/srv", "b", "--", "--copy", "-x"}, Known);
    EXPECT_EQ(parsed.operands, (std::vector<std::string>{"a", "-", "b", "--copy", "-x"}));
    EXPECT_TRUE(parsed.Has("--copy"));
    EXPECT_EQ(parsed.Value("--folder"), "/srv");
    EXPECT_EQ(parsed.Value("--plain"), std::nullopt);
}

TEST(Options, NameWhatIsWrong) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--copie", "a"},
         "option inconnue : « --copie » (un fichier dont le nom commence par « - » se donne après "
         "« -- »)."},
        {{"a", "--folder"}, "l'option --folder demande un dossier."},
        {{"-\xFF"},
         "option inconnue : « -%FF » (un fichier dont le nom commence par « - » se "
         "donne après « -- »)."},
    };
    for (const auto& [arguments, complaint] : cases) {
        EXPECT_THAT([&] { ParseArguments(arguments, Known); },
                    testing::ThrowsMessage<UsageError>(complaint));
    }
}

// What a message shows of an address: every character that cannot be seen.
TEST(ShownText, ShowsWhatCannotBeSeen) {
    const std::pair<std::u16string, std::string> cases[] = {
        {u"http://example.org/tmp/", "http://example.org/tmp/"},
        {u"http://e/tmp/\r\n", "http://e/tmp/\\r\\n"},
        {u"http://e/a\tb\0"s, "http://e/a\\tb\\0"},
        {u" http://e/a b/  ", "⎵http://e/a b/⎵⎵"},
        {u"http://e/\u00A0\u202E\U000E0041/", "http://e/\\u{A0}\\u{202E}\\u{E0041}/"},
        {u"http://e/été/", "http://e/été/"},
    };
    for (const auto& [text, shown] : cases) {
        EXPECT_EQ(ShownText(text), shown);
    }
}

} // namespace
} // namespace cli

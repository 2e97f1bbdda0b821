#include "address/text_helpers.h"

#include <gtest/gtest.h>

namespace mdCode {
namespace {

struct FinalCharacterCase {
    std::u16string text;
    std::u16string withSlash;
    std::u16string withBackslash;
};

TEST(AddSlashAndBackslash, AddTheirOwnCharacterOnlyWhenItIsNotLast) {
    const FinalCharacterCase cases[] = {
        {u"", u"/", u"\\"},
        {u"http://votre_site_web/dossiertemp", u"http://votre_site_web/dossiertemp/",
         u"http://votre_site_web/dossiertemp\\"},
        {u"http://votre_site_web/dossiertemp/", u"http://votre_site_web/dossiertemp/",
         u"http://votre_site_web/dossiertemp/\\"},
        {u"C:\\", u"C:\\/", u"C:\\"},
        {u"C:\\Sites\\tmp", u"C:\\Sites\\tmp/", u"C:\\Sites\\tmp\\"},
        {u"dossiertemp\\", u"dossiertemp\\/", u"dossiertemp\\"},
        {u"a//", u"a//", u"a//\\"},
        {u"\\/", u"\\/", u"\\/\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(AddSlash(c.text), c.withSlash);
        EXPECT_EQ(AddBackslash(c.text), c.withBackslash);
    }
}

TEST(CleanAddress, RemovesControlCharactersThenTheBlanksAround) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"http://example.org/tmp/\r\n", u"http://example.org/tmp/"},
        {u"http://exa\nmple.org/\rtmp/", u"http://example.org/tmp/"},
        {u"\r\n\n\r", u""},
        {std::u16string(u"http://x/\tb\0c\x7F\u0085\u009Fd", 17), u"http://x/bcd"},
        {u"  \t http://x/a b/ \r\n", u"http://x/a b/"},
        {u"   ", u""},
        {u"a\u00A0\u2028\u00A1\u00E9", u"a\u00A0\u2028\u00A1\u00E9"},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(testing::PrintToString(text));
        EXPECT_EQ(CleanAddress(text), expected);
    }
}

struct TextBetweenCase {
    const char* what;
    std::u16string text;
    std::u16string start;
    std::u16string end;
    std::optional<std::u16string> expected;
};

TEST(TextBetween, CutsFromFirstStartToNextEnd) {
    const TextBetweenCase cases[] = {
        {"relative path", u"C:\\Sites\\tmp\\docs\\a b.txt|", u"C:\\Sites\\tmp\\", u"|",
         u"docs\\a b.txt"},
        {"first start counts, end searched behind it", u"x[a]y[b]", u"[", u"]", u"a"},
        {"adjacent delimiters give the empty text", u"ab", u"a", u"b", u""},
        {"start missing", u"abc", u"x", u"c", std::nullopt},
        {"end only in front of start", u"]x[abc", u"[", u"]", std::nullopt},
        {"end overlapping start only", u"xaby", u"ab", u"b", std::nullopt},
        {"later start not tried", u"[a[b]", u"[", u"]", u"a[b"},
        {"first start without end", u"[a(b]", u"(", u"]", u"b"},
        {"letter case", u"C:\\Sites\\tmp\\x.txt|", u"C:\\Sites\\Tmp\\", u"|", std::nullopt},
        {"start at the very end", u"abc", u"c", u"x", std::nullopt},
        {"longer delimiters", u"<<one>><<two>>", u"<<", u">>", u"one"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(TextBetween(c.text, c.start, c.end), c.expected);
    }
}

} // namespace
} // namespace mdCode

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

} // namespace
} // namespace mdCode

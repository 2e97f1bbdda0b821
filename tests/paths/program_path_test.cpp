#include "paths/program_path.h"

#include <gtest/gtest.h>

namespace mdCode {
namespace {

struct FormCase {
    std::string native;
    std::u16string program;
};

// Each native path, its program form, and back.
const FormCase FormCases[] = {
    {"", u""},
    {"/srv/www/tmp", u"\\srv\\www\\tmp"},
    {"/srv/www/tmp/", u"\\srv\\www\\tmp\\"},
    {"PARAM.ini", u"PARAM.ini"},
    {"/tmp/back\\slash/PARAM.ini", u"\\tmp\\back\uF05Cslash\\PARAM.ini"},
    {"/tmp/a b#1 100%/x", u"\\tmp\\a b#1 100%\\x"},
    {"/tmp/\xC3\xA9t\xC3\xA9 \xE4\xB8\xAD", u"\\tmp\\\u00E9t\u00E9 \u4E2D"},
    {"emoji \xF0\x9F\x98\x80.txt", u"emoji \U0001F600.txt"},
    // The first characters of two and three bytes, and the last ones.
    {"\xC2\x80 \xDF\xBF \xE0\xA0\x80 \xEF\xBF\xBF", u"\u0080 \u07FF \u0800 \uFFFF"},
    // A real character whose second half lies among the escapes.
    {"\xF0\x9F\x92\x80", u"\U0001F480"},
    {"bad\xFF\xFE.txt", u"bad\xDCFF\xDCFE.txt"},
    {"tab\tline\nend", u"tab\tline\nend"},
    // Invalid UTF-8: a lone continuation, a cut sequence, an overlong "/", the first and the
    // last encoded surrogate, an overlong U+07FF, a code point above U+10FFFF.
    {"\x80", u"\xDC80"},
    {"\xC3/", u"\xDCC3\\"},
    {"\xC0\xAF", u"\xDCC0\xDCAF"},
    {"\xED\xA0\x80", u"\xDCED\xDCA0\xDC80"},
    {"\xED\xBF\xBF", u"\xDCED\xDCBF\xDCBF"},
    {"\xE0\x9F\xBF", u"\xDCE0\xDC9F\xDCBF"},
    {"\xF4\x90\x80\x80", u"\xDCF4\xDC90\xDC80\xDC80"},
    // The UTF-8 of U+F05C itself is escaped, so that it is not taken for a "\".
    {"\xEF\x81\x9C", u"\xDCEF\xDC81\xDC9C"},
};

TEST(ProgramPath, KeepsEveryByteOfANativePath) {
    for (const auto& c : FormCases) {
        SCOPED_TRACE(testing::PrintToString(c.native));
        EXPECT_EQ(ToProgramForm(c.native), c.program);
        EXPECT_EQ(ToNativeBytes(c.program), c.native);
        EXPECT_EQ(ToNativePath(c.program).native(), c.native);
    }
}

TEST(ProgramPath, RoundTripsEveryByteAfterEveryByte) {
    for (int first = 1; first < 256; ++first) {
        for (int second = 1; second < 256; ++second) {
            const std::string native{static_cast<char>(first), static_cast<char>(second)};
            ASSERT_EQ(ToNativeBytes(ToProgramForm(native)), native) << first << " " << second;
        }
    }
}

TEST(ProgramPath, WritesALoneSurrogateThatStandsForNoByteAsAReplacementCharacter) {
    EXPECT_EQ(ToNativeBytes(u"a\xD800"
                            u"b"),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_EQ(ToNativeBytes(u"\xDC00"), "\xEF\xBF\xBD");
}

struct EscapeCase {
    std::u16string text;
    std::size_t position;
    int byte;
};

TEST(ProgramPath, TellsAnEscapedByteFromTheSecondHalfOfAPair) {
    const EscapeCase cases[] = {
        {u"\xDCFF", 0, 0xFF},   {u"a\xDC80", 1, 0x80}, {u"\xDC80\xDC81", 1, 0x81},
        {u"\U0001F480", 1, -1}, {u"\xDC7F", 0, -1},    {u"\xDD00", 0, -1},
        {u"\\", 0, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(EscapedByteAt(c.text, c.position), c.byte);
    }
}

} // namespace
} // namespace mdCode

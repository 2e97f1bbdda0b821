#include "address/code_page.h"

#include <gtest/gtest.h>

namespace mdCode {
namespace {

TEST(CodePage, EveryByteSurvivesARoundTrip) {
    std::string bytes;
    for (int code = 0; code <= 0xFF; ++code) {
        bytes += static_cast<char>(code);
    }
    EXPECT_EQ(ToAnsi(FromAnsi(bytes)), bytes);
}

struct CharacterCase {
    char16_t character;
    unsigned char code;
};

TEST(CodePage, CharactersMapToTheirWindows1252Byte) {
    const CharacterCase cases[] = {
        {u'A', 0x41},      {u'\t', 0x09},     {u'\0', 0x00},     {u'\u00E9', 0xE9},
        {u'\u00A0', 0xA0}, {u'\u00FF', 0xFF}, {u'\u20AC', 0x80}, {u'\u2026', 0x85},
        {u'\u0160', 0x8A}, {u'\u0178', 0x9F}, {u'\u0081', 0x81}, {u'\u008D', 0x8D},
        {u'\u008F', 0x8F}, {u'\u0090', 0x90}, {u'\u009D', 0x9D},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.character));
        EXPECT_EQ(AnsiCode(c.character), c.code);
        EXPECT_EQ(FromAnsi(std::string(1, static_cast<char>(c.code))),
                  std::u16string(1, c.character));
    }
}

TEST(CodePage, CharactersOutsideTheCodePageHaveNoCode) {
    // U+0080 and U+009F are C1 controls whose bytes Windows-1252 gives to other characters;
    // U+0120 and U+015C share their low byte with reserved ASCII characters.
    const char16_t outside[] = {u'\u0080', u'\u009F', u'\u0100',        u'\u0120',
                                u'\u015C', u'\u4E2D', char16_t{0xD83D}, char16_t{0xDE00},
                                u'\uFFFD', u'\uFFFF'};
    for (const char16_t character : outside) {
        SCOPED_TRACE(static_cast<int>(character));
        EXPECT_EQ(AnsiCode(character), std::nullopt);
    }
    EXPECT_EQ(ToAnsi(u"\u00E9t\u00E9 \u4E2D\u20AC"), "\xE9t\xE9 ?\x80");
}

} // namespace
} // namespace mdCode

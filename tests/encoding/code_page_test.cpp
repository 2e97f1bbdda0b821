#include "encoding/code_page.h"

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

TEST(CodePage, TheWholeRangeFrom0x80To0x9FMapsBothWays) {
    // Windows-1252 as published; the five undefined bytes stand for the C1 controls.
    const CharacterCase table[] = {
        {u'\u20AC', 0x80}, {u'\u0081', 0x81}, {u'\u201A', 0x82}, {u'\u0192', 0x83},
        {u'\u201E', 0x84}, {u'\u2026', 0x85}, {u'\u2020', 0x86}, {u'\u2021', 0x87},
        {u'\u02C6', 0x88}, {u'\u2030', 0x89}, {u'\u0160', 0x8A}, {u'\u2039', 0x8B},
        {u'\u0152', 0x8C}, {u'\u008D', 0x8D}, {u'\u017D', 0x8E}, {u'\u008F', 0x8F},
        {u'\u0090', 0x90}, {u'\u2018', 0x91}, {u'\u2019', 0x92}, {u'\u201C', 0x93},
        {u'\u201D', 0x94}, {u'\u2022', 0x95}, {u'\u2013', 0x96}, {u'\u2014', 0x97},
        {u'\u02DC', 0x98}, {u'\u2122', 0x99}, {u'\u0161', 0x9A}, {u'\u203A', 0x9B},
        {u'\u0153', 0x9C}, {u'\u009D', 0x9D}, {u'\u017E', 0x9E}, {u'\u0178', 0x9F},
    };
    static_assert(std::size(table) == 32);
    for (const auto& c : table) {
        SCOPED_TRACE(static_cast<int>(c.code));
        EXPECT_EQ(AnsiCode(c.character), c.code);
        EXPECT_EQ(ToAnsi(std::u16string(1, c.character)),
                  std::string(1, static_cast<char>(c.code)));
        EXPECT_EQ(FromAnsi(std::string(1, static_cast<char>(c.code))),
                  std::u16string(1, c.character));
    }
}

struct WithoutCodeCase {
    const char* what;
    std::u16string text;
    std::vector<std::u16string> expected;
};

TEST(CodePage, NamesEachCharacterItCannotHoldOnce) {
    const WithoutCodeCase cases[] = {
        {"all in the code page", u"http://caf\u00E9.example/\u20AC\u0178/", {}},
        {"empty text", u"", {}},
        {"two ideographs", u"http://\u4F8B\u3048.jp/", {u"\u4F8B", u"\u3048"}},
        {"repeated, in order of first appearance",
         u"\u3048a\u4F8B\u3048\u4F8B",
         {u"\u3048", u"\u4F8B"}},
        {"an emoji is one character", u"http://x/\U0001F600/\U0001F600", {u"\U0001F600"}},
        {"C1 controls that Windows-1252 gives to other characters",
         u"\u0080\u009F",
         {u"\u0080", u"\u009F"}},
        {"a lone high surrogate at the end", u"x\xD83D", {u"\xD83D"}},
        {"a lone low surrogate", u"\xDE00x", {u"\xDE00"}},
        {"two high surrogates in a row", u"\xD83D\xD83D\xDE00", {u"\xD83D", u"\U0001F600"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CharactersWithoutCode(c.text), c.expected);
    }
}

} // namespace
} // namespace mdCode

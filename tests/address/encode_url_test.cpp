#include "address/encode_url.h"

#include <gtest/gtest.h>

namespace mdCode {
namespace {

struct EncodeCase {
    std::u16string name;
    std::u16string expected;
};

TEST(EncodeUrl, EncodesReservedCharactersOfFileNames) {
    const EncodeCase cases[] = {
        {u"", u""},
        {u"rapport final.pdf", u"rapport%20final.pdf"},
        {u"docs\\a+b.txt", u"docs%5Ca%2Bb.txt"},
        {u"100%.txt", u"100%25.txt"},
        {u"#1 [old].doc", u"%231%20%5Bold%5D.doc"},
        {u"x~y=z", u"x%7Ey%3Dz"},
        {u"a:b;c", u"a%3Ab%3Bc"},
        {u"Ab-9_(x)!.txt", u"Ab-9_(x)!.txt"},
        {u"tab\there", u"tab\there"},
        {u"\u00E9t\u00E9.txt", u"\u00E9t\u00E9.txt"},
        {u"\u20AC \u2026", u"\u20AC%20\u2026"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.name));
        EXPECT_EQ(EncodeUrl(c.name), c.expected);
    }
}

TEST(EncodeUrl, EncodesExactlyTheReservedAsciiCharacters) {
    const std::u16string reserved = u"$&+,/:;=?@ \"<>#%{}|\\^~[]`";
    for (char16_t character = 0; character < 0x80; ++character) {
        SCOPED_TRACE(static_cast<int>(character));
        const std::u16string encoded = EncodeUrl(std::u16string(1, character));
        if (reserved.find(character) == std::u16string::npos) {
            EXPECT_EQ(encoded, std::u16string(1, character));
        } else {
            const char16_t digits[] = u"0123456789ABCDEF";
            EXPECT_EQ(encoded,
                      (std::u16string{u'%', digits[character >> 4], digits[character & 0xF]}));
        }
    }
}

TEST(EncodeUrl, CharactersOutsideTheCodePageBecomeAnEncodedQuestionMark) {
    const EncodeCase cases[] = {
        {u"\u4E2D.txt", u"%3F.txt"},
        {u"\U0001F600", u"%3F%3F"},
        {std::u16string(1, char16_t{0xD800}), u"%3F"},
        // Their Unicode low bytes (20, 5C) must not count, only the code-page code.
        {u"\u0120\u015C", u"%3F%3F"},
        {u"\u0161", u"\u0161"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.name));
        EXPECT_EQ(EncodeUrl(c.name), c.expected);
    }
}

TEST(EncodeUrl, HasNoLengthLimit) {
    const std::u16string name = std::u16string(40'000, u' ') + u"x";
    std::u16string expected;
    for (int i = 0; i < 40'000; ++i) {
        expected += u"%20";
    }
    EXPECT_EQ(EncodeUrl(name), expected + u"x");
}

} // namespace
} // namespace mdCode

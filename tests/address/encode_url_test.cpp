#include "address/encode_url.h"

#include "address/separators_and_controls.h"
#include "paths/program_path.h"

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
        {u"\u00E9t\u00E9.txt", u"\u00E9t\u00E9.txt"},
        {u"\u20AC \u2026", u"\u20AC%20\u2026"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.name));
        EXPECT_EQ(EncodeUrl(c.name), c.expected);
    }
}

TEST(EncodeUrl, EncodesExactlyTheReservedAndTheControlCharactersOfAscii) {
    const std::u16string reserved = u"$&+,/:;=?@ \"<>#%{}|\\^~[]`";
    for (char16_t character = 0; character < 0x80; ++character) {
        SCOPED_TRACE(static_cast<int>(character));
        const std::u16string encoded = EncodeUrl(std::u16string(1, character));
        const bool control = character < 0x20 || character == 0x7F;
        if (reserved.find(character) == std::u16string::npos && !control) {
            EXPECT_EQ(encoded, std::u16string(1, character));
        } else {
            const char16_t digits[] = u"0123456789ABCDEF";
            EXPECT_EQ(encoded,
                      (std::u16string{u'%', digits[character >> 4], digits[character & 0xF]}));
        }
    }
}

// Characters that Windows-1252 cannot hold pass whole; the program form's stand-ins for a "\"
// inside a name and for bytes that are not UTF-8 become the bytes they stand for.
TEST(EncodeUrl, KeepsCharactersOutsideTheCodePageAndWritesTheNativeBytesOfStandIns) {
    const EncodeCase cases[] = {
        {u"\u65E5\u672C\u8A9E.txt", u"\u65E5\u672C\u8A9E.txt"},
        {u"emoji \U0001F600.txt", u"emoji%20\U0001F600.txt"},
        {u"u\u0308", u"u\u0308"},
        // Their Unicode low bytes (20, 5C) must not count.
        {u"\u0120\u015C", u"\u0120\u015C"},
        {u"\u0161", u"\u0161"},
        {u"x\uF05Cy.txt", u"x%5Cy.txt"},
        {u"bad\xDCFF\xDCFE.txt", u"bad%FF%FE.txt"},
        {u"\xDC80\xDC9C", u"%80%9C"},
        // The second half of a real pair is no stand-in.
        {u"\U0001F480", u"\U0001F480"},
        {std::u16string(1, char16_t{0xD800}), std::u16string(1, char16_t{0xD800})},
        {u"line\nfeed\ttab\r\x7F", u"line%0Afeed%09tab%0D%7F"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.name));
        EXPECT_EQ(EncodeUrl(c.name), c.expected);
    }
}

// Every separator and control character but the blank (Unicode Zs, Zl, Zp, Cc, Cf) is written as
// its UTF-8 bytes: in a mail or an editor it would be invisible, break the line or reverse the
// text around it. Letters, marks and symbols next to them pass.
TEST(EncodeUrl, WritesInvisibleAndLineBreakingCharactersAsTheirUtf8Bytes) {
    const EncodeCase cases[] = {
        {u"a\u2028b", u"a%E2%80%A8b"},
        {u"\u2029\u202E\u200B\u00A0\u0085", u"%E2%80%A9%E2%80%AE%E2%80%8B%C2%A0%C2%85"},
        {u"\u00AD\u061C\u1680\u200A\u202F\u205F\u2064\u2066\u206F\u3000\uFEFF\uFFFB",
         u"%C2%AD%D8%9C%E1%9A%80%E2%80%8A%E2%80%AF%E2%81%9F%E2%81%A4%E2%81%A6%E2%81%AF%E3%80%80"
         u"%EF%BB%BF%EF%BF%BB"},
        {u"\U000110BD\U000E0001\U000E007F", u"%F0%91%82%BD%F3%A0%80%81%F3%A0%81%BF"},
        {u"\u009F\u00A1\u00AC\u00AE\u2010\u2065\u2070\uFFFC\U000E0080",
         u"%C2%9F\u00A1\u00AC\u00AE\u2010\u2065\u2070\uFFFC\U000E0080"},
        {u"\u00E9\u20AC\u65E5\U0001F600", u"\u00E9\u20AC\u65E5\U0001F600"},
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

// EncodeUrl as its rules say, one unit at a time, the separators and controls taken from
// SeparatorOrControlLength: what any faster encoding must still give.
std::u16string ReferenceEncoding(const std::u16string& name) {
    constexpr std::u16string_view reserved = u"$&+,/:;=?@ \"<>#%{}|\\^~[]`";
    constexpr std::u16string_view digits = u"0123456789ABCDEF";
    std::u16string encoded;
    const auto encode = [&encoded, digits](unsigned byte) {
        encoded += {u'%', digits[byte >> 4], digits[byte & 0xF]};
    };
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i];
        if (unit < 0x80 && reserved.find(unit) != std::u16string_view::npos) {
            encode(unit);
        } else if (unit == NameBackslash) {
            encode(u'\\');
        } else if (const int escaped = EscapedByteAt(name, i); escaped >= 0) {
            encode(static_cast<unsigned>(escaped));
        } else if (const std::size_t length = SeparatorOrControlLength(name, i)) {
            for (const char byte : ToNativeBytes(std::u16string_view(name).substr(i, length)))
                encode(static_cast<unsigned char>(byte));
            i += length - 1;
        } else {
            encoded += unit;
        }
    }
    return encoded;
}

// Every unit alone, repeated and behind a high surrogate, and every character above U+FFFF as
// its pair, with a unit behind it.
TEST(EncodeUrl, GivesTheReferenceEncodingOfEveryUnitAndEveryCharacter) {
    for (char32_t unit = 0; unit <= 0xFFFF; ++unit) {
        const auto u = static_cast<char16_t>(unit);
        const std::u16string name{u, u, u'\xD800', u};
        ASSERT_EQ(EncodeUrl(name), ReferenceEncoding(name))
            << "unit " << static_cast<unsigned>(unit);
    }
    for (char32_t codePoint = 0x10000; codePoint <= 0x10FFFF; ++codePoint) {
        std::u16string name;
        AppendUtf16(name, codePoint);
        name += u'\xDC80';
        ASSERT_EQ(EncodeUrl(name), ReferenceEncoding(name))
            << "code point " << static_cast<unsigned>(codePoint);
    }
}

} // namespace
} // namespace mdCode

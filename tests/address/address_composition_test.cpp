#include "address/address_composition.h"

#include <gtest/gtest.h>

namespace mdCode {
namespace {

TEST(EndMarker, IsTenBackslashes) {
    EXPECT_EQ(EndMarker, std::u16string(10, u'\\'));
}

struct RelativeNameCase {
    std::u16string programFolder;
    std::u16string path;
    std::u16string expected;
};

TEST(RelativeName, IsThePartOfThePathBelowTheProgramFolder) {
    const RelativeNameCase cases[] = {
        {u"C:\\Dossier", u"C:\\Dossier\\photo.jpg", u"photo.jpg"},
        {u"C:\\Dossier\\", u"C:\\Dossier\\photo.jpg", u"photo.jpg"},
        {u"C:\\Dossier", u"C:\\Dossier\\images\\photo 1.jpg", u"images\\photo 1.jpg"},
        {u"C:\\", u"C:\\photo.jpg", u"photo.jpg"},
        {u"\\srv\\www\\tmp", u"\\srv\\www\\tmp\\rapport final.pdf", u"rapport final.pdf"},
        {u"C:\\Dossier", u"C:\\Dossier\\a\\\\\\\\\\\\\\\\\\\\b.txt", u"a"},
        {u"C:\\Dossier", u"C:\\Dossier\\a\\\\\\\\\\\\\\\\\\b.txt", u"a\\\\\\\\\\\\\\\\\\b.txt"},
        {u"C:\\Dossier", u"C:\\Dossier\\images\\\\", u"images"},
        {u"C:\\Dossier", u"C:\\Autre\\photo.jpg", u""},
        {u"C:\\Dossier", u"c:\\dossier\\photo.jpg", u""},
        {u"C:\\Dossier", u"C:\\Dossier2\\photo.jpg", u""},
        {u"C:\\Dossier", u"C:\\Dossier", u""},
        {u"C:\\Dossier", u"C:\\Dossier\\", u""},
        // Only a path that begins with the folder is inside it.
        {u"\\tmp\\x\\www", u"\\tmp\\copie\\tmp\\x\\www\\a b.txt", u""},
        {u"\\tmp\\x\\www", u"\\tmp\\x\\www\\a b.txt", u"a b.txt"},
        // A "\" inside a folder's name is no separator.
        {u"\\tmp\\back\uF05Cslash", u"\\tmp\\back\\slash\\a.txt", u""},
        {u"\\tmp\\back\\slash", u"\\tmp\\back\uF05Cslash\\a.txt", u""},
        {u"\\tmp\\back\uF05Cslash", u"\\tmp\\back\uF05Cslash\\x\uF05Cy.txt", u"x\uF05Cy.txt"},
        {u"\\", u"\\photo.jpg", u"photo.jpg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.path));
        EXPECT_EQ(RelativeName(c.programFolder, c.path).value_or(u""), c.expected);
    }
}

struct AddressCase {
    std::u16string name;
    std::u16string encoded;
    std::u16string plain;
};

// Subfolders are separated by "/", which a web server reads as a folder separator.
TEST(FileAddress, JoinsTheBaseAddressAndTheEncodedOrPlainName) {
    const std::u16string base = u"http://votre_site_web/dossiertemp/";
    const AddressCase cases[] = {
        {u"photo 1.jpg", u"photo%201.jpg", u"photo 1.jpg"},
        {u"images\\photo 1.jpg", u"images/photo%201.jpg", u"images/photo 1.jpg"},
        {u"a\\b c\\#1 100%.txt", u"a/b%20c/%231%20100%25.txt", u"a/b c/#1 100%.txt"},
        {u"x\uF05Cy.txt", u"x%5Cy.txt", u"x\\y.txt"},
        {u"d\uF05C\\x", u"d%5C/x", u"d\\/x"},
        {u"bad\xDCFF\xDCFE.txt", u"bad%FF%FE.txt", u"bad%FF%FE.txt"},
        {u"\u65E5\u672C\u8A9E.txt", u"\u65E5\u672C\u8A9E.txt", u"\u65E5\u672C\u8A9E.txt"},
        {u"a+b?.txt", u"a%2Bb%3F.txt", u"a+b?.txt"},
        {u"tab\t.txt", u"tab%09.txt", u"tab%09.txt"},
        {u"line\nfeed\x7F", u"line%0Afeed%7F", u"line%0Afeed%7F"},
        {u"images\\", u"images/", u"images/"},
        // Invisible, line-breaking and direction-changing characters show as what they are.
        {u"a\u2028b\u202E\u00A0\U000E0041", u"a%E2%80%A8b%E2%80%AE%C2%A0%F3%A0%81%81",
         u"a%E2%80%A8b%E2%80%AE%C2%A0%F3%A0%81%81"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.name));
        EXPECT_EQ(FileAddress(base, c.name), base + c.encoded);
        EXPECT_EQ(PlainFileAddress(base, c.name), base + c.plain);
    }
    EXPECT_EQ(FileAddress(u"", u"a b"), u"a%20b");
    EXPECT_EQ(FileAddress(u"http://x", u"a"), u"http://xa");
}

struct AppendCase {
    std::u16string boxText;
    std::u16string expected;
};

TEST(AppendAddress, AddsTheAddressAsTheLastLine) {
    const AppendCase cases[] = {
        {u"", u"http://x/a"},
        {u"http://x/b", u"http://x/b\r\nhttp://x/a"},
        {u"x\r\n", u"x\r\n\r\nhttp://x/a"},
        {u" ", u" \r\nhttp://x/a"},
        {u"http://x/a", u"http://x/a\r\nhttp://x/a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.boxText));
        EXPECT_EQ(AppendAddress(c.boxText, u"http://x/a"), c.expected);
    }
}

} // namespace
} // namespace mdCode

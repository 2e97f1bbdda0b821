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
        {u"C:\\Dossier", u"C:\\Autre\\photo.jpg", u""},
        {u"C:\\Dossier", u"c:\\dossier\\photo.jpg", u""},
        {u"C:\\Dossier", u"C:\\Dossier2\\photo.jpg", u""},
        {u"C:\\Dossier", u"C:\\Dossier", u""},
        {u"C:\\Dossier", u"C:\\Dossier\\", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.path));
        EXPECT_EQ(RelativeName(c.programFolder, c.path).value_or(u""), c.expected);
    }
}

TEST(FileAddress, JoinsTheBaseAddressAndTheEncodedOrPlainName) {
    const std::u16string base = u"http://votre_site_web/dossiertemp/";
    EXPECT_EQ(FileAddress(base, u"images\\photo 1.jpg"),
              u"http://votre_site_web/dossiertemp/images%5Cphoto%201.jpg");
    EXPECT_EQ(PlainFileAddress(base, u"images\\photo 1.jpg"),
              u"http://votre_site_web/dossiertemp/images\\photo 1.jpg");
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

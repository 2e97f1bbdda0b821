#include "settings/settings_file.h"

#include "temporary_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace mdCode {
namespace {

struct ReadCase {
    const char* what;
    std::string bytes;
    std::optional<std::u16string> expected;
};

void ExpectReadsAll(std::initializer_list<ReadCase> cases) {
    TemporaryFolder folder;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        folder.WriteBytes("PARAM.ini", c.bytes);
        EXPECT_EQ(ReadTextFile(folder.ProgramPath("PARAM.ini")), c.expected);
    }
}

TEST(ReadTextFile, ReadsItemsJoinedByLineEnds) {
    ExpectReadsAll({
        {"saved address", "http://votre_site_web/dossiertemp/\r\n",
         u"http://votre_site_web/dossiertemp/"},
        {"address without a line end", "http://votre_site_web/dossiertemp/",
         u"http://votre_site_web/dossiertemp/"},
        {"empty file", "", std::nullopt},
        {"empty line", "\r\n", u""},
        {"comma inside an address", "http://votre_site_web/a,b/\r\n",
         u"http://votre_site_web/a,b/"},
        {"leading spaces", "  x\r\n", u"x"},
        {"quoted item keeps commas", "\"a,b\"\r\n", u"a,b"},
        {"leading empty lines vanish", "\r\n\r\nx\r\n", u"x"},
        {"empty line after an item", "x\r\n\r\n", u"x\r\n"},
        {"several lines", "a\r\nb\r\n", u"a\r\nb"},
        {"code page", "\xE9t\xE9 \x80\r\n", u"\u00E9t\u00E9 \u20AC"},
    });
}

TEST(ReadTextFile, ReadsLoneLineEndsAndLeftovers) {
    ExpectReadsAll({
        {"lone CR", "a\rb\r", u"a\r\nb"},
        {"lone LF", "a\nb\n", u"a\r\nb"},
        {"LF CR is two line ends", "a\n\rb", u"a\r\n\r\nb"},
        {"trailing spaces are kept", "x  \r\n", u"x  "},
        {"text after a closing quote is dropped", "\"a\",b\r\nc", u"a\r\nc"},
        {"quoted item spans lines", "\"a\r\nb\"\r\n", u"a\r\nb"},
        {"unclosed quote runs to the end", "\"abc", u"abc"},
        {"spaces at the end of the file", "x\r\n   ", u"x\r\n"},
    });
}

TEST(ReadTextFile, MissingFileThrowsNamingTheFile) {
    TemporaryFolder folder;
    EXPECT_THAT([&] { ReadTextFile(folder.ProgramPath("PARAM.ini")); },
                testing::ThrowsMessage<FileError>(folder.Native("PARAM.ini").string() +
                                                  ": No such file or directory"));
}

TEST(ReadTextFile, FolderThrows) {
    TemporaryFolder folder;
    std::filesystem::create_directory(folder.Native("PARAM.ini"));
    EXPECT_THROW(ReadTextFile(folder.ProgramPath("PARAM.ini")), FileError);
}

TEST(ReadTextFile, OversizedFileThrowsInsteadOfFillingMemory) {
    TemporaryFolder folder;
    folder.WriteBytes("PARAM.ini", std::string((1 << 20) + 1, 'x'));
    EXPECT_THAT([&] { ReadTextFile(folder.ProgramPath("PARAM.ini")); },
                testing::ThrowsMessage<FileError>(testing::HasSubstr("File too large")));
    folder.WriteBytes("PARAM.ini", std::string(1 << 20, 'x'));
    EXPECT_EQ(ReadTextFile(folder.ProgramPath("PARAM.ini"))->size(), 1u << 20);
}

} // namespace
} // namespace mdCode

#include "settings/settings_file.h"

#include "support/temporary_folder.h"

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

TEST(ReadTextFile, ReadsUtf8WhereTheBytesAreUtf8AndWindows1252Otherwise) {
    ExpectReadsAll({
        {"UTF-8 from a text editor",
         "http://b\xC3\xBC"
         "cher.example/\n",
         u"http://b\u00FCcher.example/"},
        {"UTF-8 behind a byte-order mark",
         "\xEF\xBB\xBFhttp://b\xC3\xBC"
         "cher.example/\n",
         u"http://b\u00FCcher.example/"},
        {"a byte-order mark before ASCII", "\xEF\xBB\xBFhttp://x/\r\n", u"http://x/"},
        {"a byte-order mark alone", "\xEF\xBB\xBF", std::nullopt},
        {"three- and four-byte characters", "http://\xE4\xBE\x8B.jp/\xF0\x9F\x98\x80/",
         u"http://\u4F8B.jp/\U0001F600/"},
        {"Windows-1252 as the program writes it",
         "http://b\xFC"
         "cher.example/\r\n",
         u"http://b\u00FCcher.example/"},
        {"Windows-1252 behind a byte-order mark", "\xEF\xBB\xBF\xE9t\xE9", u"\u00E9t\u00E9"},
        {"one invalid byte makes it all Windows-1252", "\xC3\xBC \xFC", u"\u00C3\u00BC \u00FC"},
        {"a sequence cut by the end of the file", "caf\xC3", u"caf\u00C3"},
        {"an overlong form is not UTF-8", "\xC0\xAF", u"\u00C0\u00AF"},
        {"an encoded surrogate is not UTF-8", "\xED\xA0\x80", u"\u00ED\u00A0\u20AC"},
        {"beyond U+10FFFF is not UTF-8", "\xF4\x90\x80\x80", u"\u00F4\u0090\u20AC\u20AC"},
        {"a byte-order mark inside the text is kept", "a\xEF\xBB\xBF", u"a\uFEFF"},
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

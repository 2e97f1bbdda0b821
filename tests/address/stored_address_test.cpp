#include "address/stored_address.h"
#include "settings/settings_file.h"

#include "support/temporary_folder.h"

#include <gtest/gtest.h>

namespace mdCode {
namespace {

using Refusal = StoredAddress::Refusal;

struct TypedCase {
    std::u16string typed;
    Refusal refusal;
    std::u16string stored;
};

TEST(AddressToStore, CleansCompletesOrRefusesATypedAddress) {
    const TypedCase cases[] = {
        {u"http://example.org/tmp", Refusal::None, u"http://example.org/tmp/"},
        {u"http://example.org/tmp/", Refusal::None, u"http://example.org/tmp/"},
        {u"  http://x/a\r\n", Refusal::None, u"http://x/a/"},
        {u"http://host/b 1/", Refusal::None, u"http://host/b%201/"},
        {u"http://site/\u00E9t\u00E9/", Refusal::None, u"http://site/\u00E9t\u00E9/"},
        {u"http://site/a\\", Refusal::None, u"http://site/a\\/"},
        {u" \t\r\n ", Refusal::Empty, u""},
        {u"http://site/\u0151", Refusal::Unstorable, u""},
        {u"http://x/?x=1", Refusal::QueryOrFragment, u""},
        {u"http://x/#frag", Refusal::QueryOrFragment, u""},
    };
    for (const TypedCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.typed));
        const StoredAddress stored = AddressToStore(c.typed);
        EXPECT_EQ(stored.refusal, c.refusal);
        EXPECT_EQ(stored.address, c.stored);
        EXPECT_EQ(RefusalReason(stored).empty(), c.refusal == Refusal::None);
    }
}

// Bytes that may hold NULs.
template <std::size_t N> std::string Bytes(const char (&literal)[N]) {
    return std::string(literal, N - 1);
}

struct HandWrittenCase {
    const char* what;
    std::string bytes;
    Refusal refusal;
    std::u16string address;
};

// A settings file written by hand, by another editor or another system, gives the address its
// writer meant, or is refused; an address never holds a line break, a NUL or a trailing blank.
TEST(StoredBaseAddress, GivesTheMeantAddressOfAHandWrittenSettingsFile) {
    const HandWrittenCase cases[] = {
        {"as the program writes it", "http://e.org/tmp/\r\n", Refusal::None, u"http://e.org/tmp/"},
        {"an empty line after it", "http://e.org/tmp/\r\n\r\n", Refusal::None,
         u"http://e.org/tmp/"},
        {"empty lines after it, LF only", "http://e.org/tmp/\n\n\n", Refusal::None,
         u"http://e.org/tmp/"},
        {"blanks after it", "http://e.org/d2/   \r\n", Refusal::None, u"http://e.org/d2/"},
        {"a tab after it", "http://e.org/d2/\t\n", Refusal::None, u"http://e.org/d2/"},
        {"no final slash", "http://example.org/tmp\n", Refusal::None, u"http://example.org/tmp/"},
        {"a blank inside", "http://e.org/b 1/\n", Refusal::None, u"http://e.org/b%201/"},
        {"a NUL after it", Bytes("http://e.org/tmp/\0\n"), Refusal::None, u"http://e.org/tmp/"},
        {"UTF-16 as Notepad saves it", Bytes("\xFF\xFEh\0t\0t\0p\0:\0/\0/\0\xE9\0/\0\r\0\n\0"),
         Refusal::None, u"http://\u00E9/"},
        {"UTF-16, big-endian", Bytes("\xFE\xFF\0h\0t\0t\0p\0:\0/\0/\0x"), Refusal::None,
         u"http://x/"},
        {"two addresses", "http://a.org/\r\nhttp://b.org/\r\n", Refusal::SeveralLines, u""},
        {"a query", "http://e.org/?x=1\r\n", Refusal::QueryOrFragment, u""},
        {"an empty file", "", Refusal::Empty, u""},
        {"blank lines only", "  \r\n\t\r\n", Refusal::Empty, u""},
    };
    TemporaryFolder folder;
    for (const HandWrittenCase& c : cases) {
        SCOPED_TRACE(c.what);
        folder.WriteBytes("PARAM.ini", c.bytes);
        const StoredAddress stored =
            StoredBaseAddress(ReadTextFile(folder.ProgramPath("PARAM.ini")));
        EXPECT_EQ(stored.refusal, c.refusal);
        EXPECT_EQ(stored.address, c.address);
    }
}

} // namespace
} // namespace mdCode

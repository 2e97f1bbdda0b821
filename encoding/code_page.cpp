#include "encoding/code_page.h"

#include "encoding/utf8.h"

#include <algorithm>
#include <array>

namespace mdCode {
namespace {

// Windows-1252 differs from Latin-1 only in 0x80-0x9F. The five bytes it leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same value, as Windows
// maps them, so that every byte survives a round trip.
constexpr std::array<char16_t, 32> HighControlRange = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178'};

constexpr unsigned char HighControlFirst = 0x80;
constexpr unsigned char HighControlLast = 0x9F;

bool InHighControlRange(unsigned code) {
    return code >= HighControlFirst && code <= HighControlLast;
}

} // namespace

std::optional<unsigned char> AnsiCode(char16_t character) {
    if (character <= 0xFF && !InHighControlRange(character)) {
        return static_cast<unsigned char>(character);
    }
    const auto found = std::find(HighControlRange.begin(), HighControlRange.end(), character);
    if (found == HighControlRange.end()) {
        return std::nullopt;
    }
    return static_cast<unsigned char>(HighControlFirst + (found - HighControlRange.begin()));
}

std::string ToAnsi(std::u16string_view text) {
    std::string bytes(text.size(), '\0');
    std::transform(text.begin(), text.end(), bytes.begin(), [](char16_t character) {
        return static_cast<char>(AnsiCode(character).value_or('?'));
    });
    return bytes;
}

std::u16string FromAnsi(std::string_view bytes) {
    std::u16string text(bytes.size(), u'\0');
    std::transform(bytes.begin(), bytes.end(), text.begin(), [](char byte) {
        const auto code = static_cast<unsigned char>(byte);
        return InHighControlRange(code) ? HighControlRange[code - HighControlFirst]
                                        : static_cast<char16_t>(code);
    });
    return text;
}

std::vector<std::u16string> CharactersWithoutCode(std::u16string_view text) {
    std::vector<std::u16string> found;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = IsSurrogatePairAt(text, at) ? 2 : 1;
        const std::u16string character(text.substr(at, length));
        if ((length == 2 || !AnsiCode(character[0])) &&
            std::find(found.begin(), found.end(), character) == found.end()) {
            found.push_back(character);
        }
        at += length;
    }
    return found;
}

} // namespace mdCode

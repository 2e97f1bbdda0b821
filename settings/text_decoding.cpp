#include "settings/text_decoding.h"

#include "encoding/code_page.h"
#include "encoding/utf8.h"

#include <algorithm>

namespace mdCode {
namespace {

constexpr std::string_view Utf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view Utf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view Utf16BigEndianMark = "\xFE\xFF";

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
}

// UTF-16 units, two bytes each in the order given; an odd last byte is no unit.
std::u16string FromUtf16(std::string_view bytes, bool littleEndian) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto first = static_cast<unsigned char>(bytes[2 * i]);
        const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[i] = static_cast<char16_t>(littleEndian ? first | second << 8 : first << 8 | second);
    }
    return text;
}

} // namespace

std::u16string DecodeText(std::string_view bytes) {
    for (const bool littleEndian : {true, false}) {
        const std::string_view mark = littleEndian ? Utf16LittleEndianMark : Utf16BigEndianMark;
        if (bytes.starts_with(mark))
            return FromUtf16(bytes.substr(mark.size()), littleEndian);
    }
    if (bytes.starts_with(Utf8ByteOrderMark)) {
        bytes.remove_prefix(Utf8ByteOrderMark.size());
    }
    if (!IsAscii(bytes)) {
        if (auto text = FromValidUtf8(bytes)) {
            return std::move(*text);
        }
    }
    return FromAnsi(bytes);
}

} // namespace mdCode

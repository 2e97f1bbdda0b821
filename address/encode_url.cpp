#include "address/encode_url.h"

#include "address/code_page.h"

#include <string_view>

namespace mdCode {
namespace {

// The code-page codes that are written as "%" and two hexadecimal digits. Each code is framed by
// spaces, so a two-digit match is always a whole entry.
constexpr std::string_view ReservedCodes =
    " 24 26 2B 2C 2F 3A 3B 3D 3F 40 20 22 3C 3E 23 25 7B 7D 7C 5C 5E 7E 5B 5D 60 ";

std::string HexCode(unsigned char code) {
    constexpr std::string_view digits = "0123456789ABCDEF";
    return {digits[code >> 4], digits[code & 0xF]};
}

} // namespace

std::u16string EncodeUrl(const std::u16string& name) {
    std::u16string encoded;
    encoded.reserve(name.size());
    for (const char16_t character : name) {
        const std::string code = HexCode(AnsiCode(character).value_or('?'));
        if (ReservedCodes.find(code) == std::string_view::npos) {
            encoded += character;
        } else {
            encoded += {u'%', static_cast<char16_t>(code[0]), static_cast<char16_t>(code[1])};
        }
    }
    return encoded;
}

} // namespace mdCode

// Checks EncodeUrl on any text: no reserved or control character, no stand-in for a "\" or a
// byte is left unencoded, and decoding the result gives the name back.
#include "address/encode_url.h"
#include "paths/program_path.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr std::u16string_view Reserved = u"$&+,/:;=?@ \"<>#%{}|\\^~[]`";

// A name is any 16-bit text; two bytes of input make one unit.
std::u16string NameFrom(const uint8_t* data, std::size_t size) {
    std::u16string name;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        name += static_cast<char16_t>(data[i] | data[i + 1] << 8);
    return name;
}

int HexValue(char16_t digit) {
    if (digit >= u'0' && digit <= u'9')
        return digit - u'0';
    if (digit >= u'A' && digit <= u'F')
        return digit - u'A' + 10;
    std::abort(); // only uppercase digits are written
}

// "%5C" is a "\" inside a name, "%XX" from 80 on an escaped byte, anything else the character.
std::u16string Decoded(const std::u16string& encoded) {
    std::u16string decoded;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] != u'%') {
            decoded += encoded[i];
            continue;
        }
        if (i + 2 >= encoded.size())
            std::abort();
        const int byte = HexValue(encoded[i + 1]) * 16 + HexValue(encoded[i + 2]);
        i += 2;
        if (byte == '\\')
            decoded += mdCode::NameBackslash;
        else if (byte >= 0x80)
            decoded += static_cast<char16_t>(0xDC00 + byte);
        else
            decoded += static_cast<char16_t>(byte);
    }
    return decoded;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::u16string name = NameFrom(data, size);
    const std::u16string encoded = mdCode::EncodeUrl(name);
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        const char16_t unit = encoded[i];
        const bool left = (Reserved.find(unit) != std::u16string_view::npos && unit != u'%') ||
                          unit < 0x20 || unit == 0x7F || unit == mdCode::NameBackslash ||
                          mdCode::EscapedByteAt(encoded, i) >= 0;
        if (left)
            std::abort();
    }
    // A "\" and U+F05C are both written %5C: a name's parts hold no "\" of their own.
    std::u16string expected = name;
    for (char16_t& unit : expected) {
        if (unit == u'\\')
            unit = mdCode::NameBackslash;
    }
    if (Decoded(encoded) != expected)
        std::abort();
    return 0;
}

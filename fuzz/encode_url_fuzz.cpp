// Checks EncodeUrl on any text: no reserved, control or invisible character, no stand-in for a
// "\" or a byte is left unencoded, and the result decoded as a web server does gives the name's
// native bytes back.
#include "address/encode_url.h"
#include "address/separators_and_controls.h"
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

// What a web server reads: "%XX" is the byte XX, any other character its UTF-8 bytes (a lone
// surrogate, which UTF-8 cannot hold, as U+FFFD).
std::string ServerBytes(const std::u16string& encoded) {
    std::string bytes;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        const char16_t unit = encoded[i];
        if (unit == u'%') {
            if (i + 2 >= encoded.size())
                std::abort();
            bytes += static_cast<char>(HexValue(encoded[i + 1]) * 16 + HexValue(encoded[i + 2]));
            i += 2;
        } else if (mdCode::IsSurrogatePairAt(encoded, i)) {
            mdCode::AppendUtf8(bytes, mdCode::CodePointOfPair(unit, encoded[i + 1]));
            ++i;
        } else if (mdCode::IsHighSurrogate(unit) || mdCode::IsLowSurrogate(unit)) {
            mdCode::AppendUtf8(bytes, 0xFFFD);
        } else {
            mdCode::AppendUtf8(bytes, unit);
        }
    }
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::u16string name = NameFrom(data, size);
    const std::u16string encoded = mdCode::EncodeUrl(name);
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        const char16_t unit = encoded[i];
        const bool left = (Reserved.find(unit) != std::u16string_view::npos && unit != u'%') ||
                          unit < 0x20 || unit == 0x7F || unit == mdCode::NameBackslash ||
                          mdCode::EscapedByteAt(encoded, i) >= 0 ||
                          mdCode::SeparatorOrControlLength(encoded, i) > 0;
        if (left)
            std::abort();
    }
    // A "\" and U+F05C are both written %5C: a name's parts hold no "\" of their own.
    std::u16string expected = name;
    for (char16_t& unit : expected) {
        if (unit == u'\\')
            unit = mdCode::NameBackslash;
    }
    if (ServerBytes(encoded) != mdCode::ToNativeBytes(expected))
        std::abort();
    return 0;
}

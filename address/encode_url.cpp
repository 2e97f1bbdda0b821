#include "address/encode_url.h"

#include "address/separators_and_controls.h"
#include "paths/program_path.h"

#include <array>
#include <string_view>

namespace mdCode {
namespace {

// The characters of the reserved table (" 24 26 2B ... 60 "): their code-page code is their
// Unicode value, and no other character's code is one of them.
constexpr std::string_view ReservedCharacters = "$&+,/:;=?@ \"<>#%{}|\\^~[]`";

// For each ASCII character: is it written as "%XX"?
constexpr std::array<bool, 128> EncodedCharacters = [] {
    std::array<bool, 128> encoded{};
    for (const char character : ReservedCharacters)
        encoded[static_cast<unsigned char>(character)] = true;
    for (unsigned control = 0; control < 0x20; ++control)
        encoded[control] = true;
    encoded[0x7F] = true;
    return encoded;
}();

constexpr std::u16string_view HexDigits = u"0123456789ABCDEF";

char16_t* WriteEncoded(char16_t* out, unsigned byte) {
    out[0] = u'%';
    out[1] = HexDigits[byte >> 4];
    out[2] = HexDigits[byte & 0xF];
    return out + 3;
}

// The UTF-8 bytes of the character, one or two units, each as "%XX".
char16_t* WriteEncodedUtf8(char16_t* out, std::u16string_view character) {
    std::string bytes;
    AppendUtf8(bytes,
               character.size() == 2 ? CodePointOfPair(character[0], character[1]) : character[0]);
    for (const char byte : bytes)
        out = WriteEncoded(out, static_cast<unsigned char>(byte));
    return out;
}

} // namespace

// One pass over the name into room for the longest result (every unit written as the "%XX" of
// three UTF-8 bytes), which is given back at the end: cheaper than measuring the result first.
std::u16string EncodeUrl(const std::u16string& name) {
    constexpr std::size_t longestPerUnit = 9;
    std::u16string encoded;
    encoded.resize(name.size() * longestPerUnit);
    char16_t* out = encoded.data();
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i];
        if (unit < EncodedCharacters.size()) {
            if (EncodedCharacters[unit])
                out = WriteEncoded(out, unit);
            else
                *out++ = unit;
        } else if (unit == NameBackslash) {
            out = WriteEncoded(out, u'\\');
        } else if (const int escaped = EscapedByteAt(name, i); escaped >= 0) {
            out = WriteEncoded(out, static_cast<unsigned>(escaped));
        } else if (const std::size_t length = SeparatorOrControlLength(name, i)) {
            out = WriteEncodedUtf8(out, std::u16string_view(name).substr(i, length));
            i += length - 1;
        } else {
            *out++ = unit;
        }
    }
    encoded.resize(static_cast<std::size_t>(out - encoded.data()));
    return encoded;
}

} // namespace mdCode

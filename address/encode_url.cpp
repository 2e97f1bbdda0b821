#include "address/encode_url.h"

#include "address/separators_and_controls.h"
#include "encoding/utf8.h"
#include "paths/program_path.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace mdCode {
namespace {

// The characters of the reserved table (" 24 26 2B ... 60 "): their code-page code is their
// Unicode value, and no other character's code is one of them.
constexpr std::string_view ReservedCharacters = "$&+,/:;=?@ \"<>#%{}|\\^~[]`";

// What the encoding does with a 16-bit unit met on its own.
enum class UnitAction : std::uint8_t {
    Keep,
    // "%XX" of the unit's low byte: an ASCII reserved or control character, U+F05C (a "\"), an
    // escaped byte U+DC80 + b (its low byte is 0x80 + b).
    EncodeLowByte,
    // "%XX" of each UTF-8 byte: a separator or control character of the BMP beyond ASCII.
    EncodeUtf8,
    // The first half of a pair when a low surrogate follows: the pair's character decides.
    HighSurrogate,
};

// The action for every unit, derived when the program is built from the reserved characters and
// the separator and control ranges. A low surrogate met on its own is never the second half of
// a pair (a pair is taken whole), so U+DC80..U+DCFF there is always an escaped byte.
constexpr std::array<UnitAction, 0x10000> UnitActions = [] {
    std::array<UnitAction, 0x10000> actions{};
    for (const auto& range : detail::SeparatorsAndControls) {
        for (char32_t unit = range.first; unit <= range.last && unit < actions.size(); ++unit)
            actions[unit] = unit < 0x80 ? UnitAction::EncodeLowByte : UnitAction::EncodeUtf8;
    }
    for (const char character : ReservedCharacters)
        actions[static_cast<unsigned char>(character)] = UnitAction::EncodeLowByte;
    actions[NameBackslash] = UnitAction::EncodeLowByte;
    for (char32_t escaped = 0xDC80; escaped <= 0xDCFF; ++escaped)
        actions[escaped] = UnitAction::EncodeLowByte;
    for (char32_t high = 0xD800; high <= 0xDBFF; ++high)
        actions[high] = UnitAction::HighSurrogate;
    return actions;
}();

constexpr std::u16string_view HexDigits = u"0123456789ABCDEF";

char16_t* WriteEncoded(char16_t* out, unsigned byte) {
    out[0] = u'%';
    out[1] = HexDigits[byte >> 4];
    out[2] = HexDigits[byte & 0xF];
    return out + 3;
}

// The UTF-8 bytes of the character, each as "%XX".
char16_t* WriteEncodedUtf8(char16_t* out, char32_t codePoint) {
    std::string bytes;
    AppendUtf8(bytes, codePoint);
    for (const char byte : bytes)
        out = WriteEncoded(out, static_cast<unsigned char>(byte));
    return out;
}

// The most units one step of the encoding writes: the four UTF-8 bytes of a pair as "%XX".
constexpr std::size_t LongestStep = EncodingSlack;

} // namespace

// One pass over the name, into room that grows when less than one step's worth is left: a
// result is rarely much longer than its name, and room never used costs its filling.
void AppendEncodedUrl(std::u16string& address, std::u16string_view name) {
    const std::size_t start = address.size();
    address.resize(start + name.size() + LongestStep);
    char16_t* out = address.data() + start;
    char16_t* roomEnd = address.data() + address.size();
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (static_cast<std::size_t>(roomEnd - out) < LongestStep) {
            const auto written = static_cast<std::size_t>(out - address.data());
            address.resize(address.size() * 2);
            out = address.data() + written;
            roomEnd = address.data() + address.size();
        }
        const char16_t unit = name[i];
        switch (UnitActions[unit]) {
        case UnitAction::Keep:
            *out++ = unit;
            break;
        case UnitAction::EncodeLowByte:
            out = WriteEncoded(out, unit & 0xFFu);
            break;
        case UnitAction::EncodeUtf8:
            out = WriteEncodedUtf8(out, unit);
            break;
        case UnitAction::HighSurrogate:
            if (IsSurrogatePairAt(name, i)) {
                const char32_t codePoint = CodePointOfPair(unit, name[i + 1]);
                if (IsSeparatorOrControl(codePoint)) {
                    out = WriteEncodedUtf8(out, codePoint);
                } else {
                    out[0] = unit;
                    out[1] = name[i + 1];
                    out += 2;
                }
                ++i;
            } else {
                *out++ = unit;
            }
            break;
        }
    }
    address.resize(static_cast<std::size_t>(out - address.data()));
}

std::u16string EncodeUrl(std::u16string_view name) {
    std::u16string encoded;
    AppendEncodedUrl(encoded, name);
    return encoded;
}

} // namespace mdCode

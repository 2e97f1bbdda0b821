#include "paths/program_path.h"

#include "encoding/utf8.h"

#include <algorithm>
#include <array>

namespace mdCode {
namespace {

constexpr char16_t EscapeBase = 0xDC80;

char16_t EscapedUnit(char byte) {
    return static_cast<char16_t>(EscapeBase - 0x80 + static_cast<unsigned char>(byte));
}

// The unit of each ASCII byte: itself, but for the two that the program form writes otherwise.
constexpr std::array<char16_t, 0x80> AsciiUnits = [] {
    std::array<char16_t, 0x80> units{};
    for (char16_t byte = 0; byte < units.size(); ++byte)
        units[byte] = byte;
    units['/'] = u'\\';
    units['\\'] = NameBackslash;
    return units;
}();

} // namespace

// Written into room for one unit a byte, the most a path needs: an ASCII or an escaped byte gives
// one unit, a sequence of two to four bytes one or two.
std::u16string ToProgramForm(std::string_view nativePath) {
    std::u16string programPath(nativePath.size(), u'\0');
    char16_t* out = programPath.data();
    for (std::size_t at = 0; at < nativePath.size();) {
        // Most bytes of most paths are ASCII, which passes but for the slashes.
        if (const char byte = nativePath[at]; static_cast<unsigned char>(byte) < 0x80) {
            *out++ = AsciiUnits[static_cast<unsigned char>(byte)];
            ++at;
            continue;
        }
        const Utf8Sequence decoded = DecodeUtf8(nativePath.substr(at));
        if (decoded.length == 0 || decoded.codePoint == NameBackslash) {
            const std::size_t escaped = decoded.length == 0 ? 1 : decoded.length;
            for (const char byte : nativePath.substr(at, escaped))
                *out++ = EscapedUnit(byte);
            at += escaped;
            continue;
        }
        out = WriteUtf16(out, decoded.codePoint);
        at += decoded.length;
    }
    programPath.resize(static_cast<std::size_t>(out - programPath.data()));
    return programPath;
}

// A lone surrogate that no byte was escaped to cannot come from a native path; it is written as
// U+FFFD, the character that stands for what cannot be represented. Written into room for three
// bytes a unit, the most a unit gives (a pair's four bytes take two units).
std::string ToNativeBytes(std::u16string_view programPath) {
    std::string bytes(programPath.size() * 3, '\0');
    char* out = bytes.data();
    for (std::size_t i = 0; i < programPath.size(); ++i) {
        const char16_t unit = programPath[i];
        // Most units of most paths are ASCII, which passes but for the separators.
        if (unit < 0x80 && unit != u'\\') {
            *out++ = static_cast<char>(unit);
        } else if (const int escaped = EscapedByteAt(programPath, i); escaped >= 0) {
            *out++ = static_cast<char>(escaped);
        } else if (unit == u'\\') {
            *out++ = '/';
        } else if (unit == NameBackslash) {
            *out++ = '\\';
        } else {
            std::string character;
            i += AppendUtf8Of(character, programPath, i) - 1;
            out = std::copy(character.begin(), character.end(), out);
        }
    }
    bytes.resize(static_cast<std::size_t>(out - bytes.data()));
    return bytes;
}

std::filesystem::path ToNativePath(std::u16string_view programPath) {
    return std::filesystem::path(ToNativeBytes(programPath));
}

} // namespace mdCode

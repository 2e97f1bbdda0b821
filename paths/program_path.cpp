#include "paths/program_path.h"

#include "encoding/utf8.h"

namespace mdCode {
namespace {

constexpr char16_t EscapeBase = 0xDC80;

void AppendEscaped(std::u16string& text, std::string_view bytes) {
    for (const char byte : bytes)
        text += static_cast<char16_t>(EscapeBase - 0x80 + static_cast<unsigned char>(byte));
}

} // namespace

std::u16string ToProgramForm(std::string_view nativePath) {
    std::u16string programPath;
    programPath.reserve(nativePath.size());
    while (!nativePath.empty()) {
        const Utf8Sequence decoded = DecodeUtf8(nativePath);
        if (decoded.length == 0 || decoded.codePoint == NameBackslash) {
            const std::size_t escaped = decoded.length == 0 ? 1 : decoded.length;
            AppendEscaped(programPath, nativePath.substr(0, escaped));
            nativePath.remove_prefix(escaped);
            continue;
        }
        if (decoded.codePoint == u'/')
            programPath += u'\\';
        else if (decoded.codePoint == u'\\')
            programPath += NameBackslash;
        else
            AppendUtf16(programPath, decoded.codePoint);
        nativePath.remove_prefix(decoded.length);
    }
    return programPath;
}

// A lone surrogate that no byte was escaped to cannot come from a native path; it is written as
// U+FFFD, the character that stands for what cannot be represented.
std::string ToNativeBytes(std::u16string_view programPath) {
    std::string bytes;
    bytes.reserve(programPath.size());
    for (std::size_t i = 0; i < programPath.size(); ++i) {
        const char16_t unit = programPath[i];
        if (const int escaped = EscapedByteAt(programPath, i); escaped >= 0) {
            bytes += static_cast<char>(escaped);
        } else if (unit == u'\\') {
            bytes += '/';
        } else if (unit == NameBackslash) {
            bytes += '\\';
        } else {
            i += AppendUtf8Of(bytes, programPath, i) - 1;
        }
    }
    return bytes;
}

std::filesystem::path ToNativePath(std::u16string_view programPath) {
    return std::filesystem::path(ToNativeBytes(programPath));
}

} // namespace mdCode

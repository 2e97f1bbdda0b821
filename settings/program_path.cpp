#include "settings/program_path.h"

namespace mdCode {
namespace {

constexpr char16_t EscapeBase = 0xDC80;

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at the start of `bytes` and the code point it encodes;
// a length of 0 when the first byte does not begin one. Overlong forms, surrogates and code
// points above U+10FFFF are not valid.
struct Decoded {
    std::size_t length;
    char32_t codePoint;
};

Decoded DecodeUtf8(std::string_view bytes) {
    const auto byte = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return {1, lead};
    std::size_t length = 0;
    char32_t codePoint = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, codePoint = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, codePoint = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, codePoint = lead & 0x07, smallest = 0x10000;
    } else {
        return {0, 0};
    }
    if (bytes.size() < length)
        return {0, 0};
    for (std::size_t i = 1; i < length; ++i) {
        if (!IsContinuation(byte(i)))
            return {0, 0};
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    if (codePoint < smallest || surrogate || codePoint > 0x10FFFF)
        return {0, 0};
    return {length, codePoint};
}

void AppendUtf16(std::u16string& text, char32_t codePoint) {
    if (codePoint < 0x10000) {
        text += static_cast<char16_t>(codePoint);
    } else {
        codePoint -= 0x10000;
        text += static_cast<char16_t>(0xD800 + (codePoint >> 10));
        text += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
    }
}

void AppendUtf8(std::string& bytes, char32_t codePoint) {
    const auto append = [&bytes](unsigned value) { bytes += static_cast<char>(value); };
    if (codePoint < 0x80) {
        append(codePoint);
    } else if (codePoint < 0x800) {
        append(0xC0 | (codePoint >> 6));
        append(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        append(0xE0 | (codePoint >> 12));
        append(0x80 | ((codePoint >> 6) & 0x3F));
        append(0x80 | (codePoint & 0x3F));
    } else {
        append(0xF0 | (codePoint >> 18));
        append(0x80 | ((codePoint >> 12) & 0x3F));
        append(0x80 | ((codePoint >> 6) & 0x3F));
        append(0x80 | (codePoint & 0x3F));
    }
}

void AppendEscaped(std::u16string& text, std::string_view bytes) {
    for (const char byte : bytes)
        text += static_cast<char16_t>(EscapeBase - 0x80 + static_cast<unsigned char>(byte));
}

} // namespace

std::u16string ToProgramForm(std::string_view nativePath) {
    std::u16string programPath;
    programPath.reserve(nativePath.size());
    while (!nativePath.empty()) {
        const Decoded decoded = DecodeUtf8(nativePath);
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
        } else if (IsHighSurrogate(unit) && i + 1 < programPath.size() &&
                   programPath[i + 1] >= 0xDC00 && programPath[i + 1] <= 0xDFFF) {
            AppendUtf8(bytes, 0x10000 + ((unit - 0xD800) << 10) + (programPath[i + 1] - 0xDC00));
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            AppendUtf8(bytes, 0xFFFD);
        } else {
            AppendUtf8(bytes, unit);
        }
    }
    return bytes;
}

std::filesystem::path ToNativePath(std::u16string_view programPath) {
    return std::filesystem::path(ToNativeBytes(programPath));
}

} // namespace mdCode

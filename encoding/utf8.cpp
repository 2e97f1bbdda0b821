#include "encoding/utf8.h"

namespace mdCode {
namespace {

constexpr char32_t ReplacementCharacter = 0xFFFD;

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

} // namespace

Utf8Sequence DecodeUtf8(std::string_view bytes) {
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
    char16_t units[2];
    text.append(units, WriteUtf16(units, codePoint));
}

char16_t* WriteUtf16(char16_t* out, char32_t codePoint) {
    if (codePoint < 0x10000) {
        *out++ = static_cast<char16_t>(codePoint);
    } else {
        codePoint -= 0x10000;
        *out++ = static_cast<char16_t>(0xD800 + (codePoint >> 10));
        *out++ = static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
    }
    return out;
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

std::size_t AppendUtf8Of(std::string& bytes, std::u16string_view text, std::size_t at) {
    if (IsSurrogatePairAt(text, at)) {
        AppendUtf8(bytes, CodePointOfPair(text[at], text[at + 1]));
        return 2;
    }
    const bool lone = IsHighSurrogate(text[at]) || IsLowSurrogate(text[at]);
    AppendUtf8(bytes, lone ? ReplacementCharacter : text[at]);
    return 1;
}

std::string ToUtf8(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t at = 0; at < text.size();)
        at += AppendUtf8Of(bytes, text, at);
    return bytes;
}

std::optional<std::u16string> FromValidUtf8(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    while (!bytes.empty()) {
        const Utf8Sequence sequence = DecodeUtf8(bytes);
        if (sequence.length == 0)
            return std::nullopt;
        AppendUtf16(text, sequence.codePoint);
        bytes.remove_prefix(sequence.length);
    }
    return text;
}

bool IsUtf8(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t length = DecodeUtf8(bytes).length;
        if (length == 0)
            return false;
        bytes.remove_prefix(length);
    }
    return true;
}

std::u16string FromUtf8(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    while (!bytes.empty()) {
        const Utf8Sequence sequence = DecodeUtf8(bytes);
        AppendUtf16(text, sequence.length == 0 ? ReplacementCharacter : sequence.codePoint);
        bytes.remove_prefix(sequence.length == 0 ? 1 : sequence.length);
    }
    return text;
}

} // namespace mdCode

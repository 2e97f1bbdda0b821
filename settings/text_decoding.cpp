#include "settings/text_decoding.h"

#include "address/code_page.h"

#include <algorithm>
#include <optional>

namespace mdCode {
namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

void AppendCodePoint(std::u16string& text, char32_t codePoint) {
    if (codePoint < 0x10000) {
        text += static_cast<char16_t>(codePoint);
    } else {
        codePoint -= 0x10000;
        text += static_cast<char16_t>(0xD800 + (codePoint >> 10));
        text += static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
    }
}

// The sequence's length and the least code point it may hold (shorter forms are refused), from
// its first byte; no value for a byte that cannot start one.
struct SequenceStart {
    std::size_t length;
    char32_t least;
    char32_t bits;
};

std::optional<SequenceStart> StartOf(unsigned char byte) {
    if (byte < 0x80) {
        return SequenceStart{1, 0, byte};
    }
    if ((byte & 0xE0) == 0xC0) {
        return SequenceStart{2, 0x80, byte & 0x1Fu};
    }
    if ((byte & 0xF0) == 0xE0) {
        return SequenceStart{3, 0x800, byte & 0x0Fu};
    }
    if ((byte & 0xF8) == 0xF0) {
        return SequenceStart{4, 0x10000, byte & 0x07u};
    }
    return std::nullopt;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
std::optional<std::u16string> FromUtf8(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const auto start = StartOf(static_cast<unsigned char>(bytes[at]));
        if (!start || bytes.size() - at < start->length) {
            return std::nullopt;
        }
        char32_t codePoint = start->bits;
        for (std::size_t next = 1; next < start->length; ++next) {
            const auto byte = static_cast<unsigned char>(bytes[at + next]);
            if (!IsContinuation(byte)) {
                return std::nullopt;
            }
            codePoint = (codePoint << 6) | (byte & 0x3Fu);
        }
        if (codePoint < start->least || codePoint > 0x10FFFF ||
            (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
            return std::nullopt;
        }
        AppendCodePoint(text, codePoint);
        at += start->length;
    }
    return text;
}

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
}

} // namespace

std::u16string DecodeText(std::string_view bytes) {
    if (bytes.starts_with(ByteOrderMark)) {
        bytes.remove_prefix(ByteOrderMark.size());
    }
    if (!IsAscii(bytes)) {
        if (auto text = FromUtf8(bytes)) {
            return std::move(*text);
        }
    }
    return FromAnsi(bytes);
}

} // namespace mdCode

#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// UTF-8 and UTF-16 code points, as the settings file and the program form of paths need them.
namespace mdCode {

// The length of the valid UTF-8 sequence at the start of `bytes` and the code point it encodes;
// a length of 0 when the first byte does not begin one. Overlong forms, surrogates and code
// points above U+10FFFF are not valid. `bytes` must not be empty.
struct Utf8Sequence {
    std::size_t length;
    char32_t codePoint;
};
Utf8Sequence DecodeUtf8(std::string_view bytes);

// UTF-16 surrogates: a high one followed by a low one encodes a character above U+FFFF.
inline bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
inline bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}
// Whether the units at `at` and behind it form a surrogate pair.
inline bool IsSurrogatePairAt(std::u16string_view text, std::size_t at) {
    return IsHighSurrogate(text[at]) && at + 1 < text.size() && IsLowSurrogate(text[at + 1]);
}

// The character that the surrogate pair encodes.
inline char32_t CodePointOfPair(char16_t high, char16_t low) {
    return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

void AppendUtf16(std::u16string& text, char32_t codePoint);
// Writes the one or two units of the character at `out`; gives the position behind them.
char16_t* WriteUtf16(char16_t* out, char32_t codePoint);
void AppendUtf8(std::string& bytes, char32_t codePoint);

// Appends the UTF-8 of the character at `at`, a lone surrogate as U+FFFD (the character that
// stands for what cannot be represented); the code units it took: 1, or 2 for a surrogate pair.
std::size_t AppendUtf8Of(std::string& bytes, std::u16string_view text, std::size_t at);

// The text in UTF-8, a lone surrogate as U+FFFD.
std::string ToUtf8(std::u16string_view text);

// The text of bytes that are wholly valid UTF-8; no value otherwise.
std::optional<std::u16string> FromValidUtf8(std::string_view bytes);
bool IsUtf8(std::string_view bytes);

// The text of UTF-8 bytes, each byte that begins no valid sequence as U+FFFD.
std::u16string FromUtf8(std::string_view bytes);

} // namespace mdCode

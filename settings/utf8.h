#pragma once

#include <cstddef>
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

void AppendUtf16(std::u16string& text, char32_t codePoint);
void AppendUtf8(std::string& bytes, char32_t codePoint);

} // namespace mdCode

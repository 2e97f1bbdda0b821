#pragma once

#include "encoding/utf8.h"

#include <filesystem>
#include <string>
#include <string_view>

// The program handles paths in one form, with "\" between folders, so that the address rules
// behave alike on every platform. On Linux a path is any bytes; the program form keeps every one
// of them, so that a path crosses to the program form and back unchanged:
// - "/" becomes "\", and a "\" inside a name becomes U+F05C;
// - valid UTF-8 becomes the characters it encodes;
// - a byte b that is not part of valid UTF-8 becomes the lone surrogate U+DC80 + b (as Python's
//   "surrogateescape" does). The UTF-8 bytes of U+F05C itself are escaped the same way, so that
//   they are never taken for a "\".
namespace mdCode {

// Stands for a "\" inside a native name.
inline constexpr char16_t NameBackslash = u'\uF05C';

std::u16string ToProgramForm(std::string_view nativePath);
std::string ToNativeBytes(std::u16string_view programPath);
std::filesystem::path ToNativePath(std::u16string_view programPath);

// The byte that the code unit at `position` stands for when it is an escaped byte (a lone
// U+DC80..U+DCFF, not the second half of a surrogate pair); -1 otherwise. Inline: the address
// encoding asks it of every unit.
inline int EscapedByteAt(std::u16string_view programText, std::size_t position) {
    const char16_t unit = programText[position];
    if (unit < 0xDC80 || unit > 0xDCFF)
        return -1;
    if (position > 0 && IsHighSurrogate(programText[position - 1]))
        return -1;
    return unit - 0xDC80 + 0x80;
}

} // namespace mdCode

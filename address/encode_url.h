#pragma once

#include <string>
#include <string_view>

namespace mdCode {

// Percent-encodes a name relative to the program folder, written in the program's form:
// - the characters reserved in a web address (space, "%", "#", "?", "\", ...) and the control
//   characters (below U+0020, and U+007F) become "%" and two uppercase hexadecimal digits;
// - U+F05C, a "\" inside a name, becomes "%5C";
// - an escaped byte (a lone U+DC80 + b) becomes "%" and b's two hexadecimal digits;
// - an invisible or line-breaking character (see separators_and_controls.h) becomes the "%XX"
//   of each of its UTF-8 bytes;
// - every other character passes unchanged, those outside Windows-1252 included.
std::u16string EncodeUrl(std::u16string_view name);
// The same encoding, written behind what `address` holds. It needs room for the name and
// EncodingSlack more units to write without growing the string.
inline constexpr std::size_t EncodingSlack = 12;
void AppendEncodedUrl(std::u16string& address, std::u16string_view name);

} // namespace mdCode

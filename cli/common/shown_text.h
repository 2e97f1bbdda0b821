#pragma once

#include <string>
#include <string_view>

// How the commands' messages show what they name, in UTF-8, so that what cannot be seen is seen.
namespace cli {

// A native path or name, written as a plain address writes a name: a byte that is not UTF-8, a
// line break or an invisible character shows as "%XX", and no byte is lost.
std::string ShownPath(std::string_view nativePath);

// A text such as an address: a line break, a tab or a NUL shows as "\r", "\n", "\t" or "\0",
// another invisible or line-breaking character as "\u{…}", a blank at either end as "⎵".
std::string ShownText(std::u16string_view text);

} // namespace cli

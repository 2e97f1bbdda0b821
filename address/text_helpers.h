#pragma once

#include <string>

namespace mdCode {

// The text followed by "/" unless it already ends in "/".
std::u16string AddSlash(const std::u16string& text);

// The text followed by "\" unless it already ends in "\".
std::u16string AddBackslash(const std::u16string& text);

// A typed or pasted address as it is saved: without its control characters (below U+0020 and
// U+007F..U+009F: a pasted line break, a tab, a NUL), then without the blanks around it.
std::u16string CleanAddress(std::u16string text);

} // namespace mdCode

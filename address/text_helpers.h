#pragma once

#include <optional>
#include <string>

namespace mdCode {

// The text followed by "/" unless it already ends in "/".
std::u16string AddSlash(const std::u16string& text);

// The text followed by "\" unless it already ends in "\".
std::u16string AddBackslash(const std::u16string& text);

// A typed or pasted address as it is saved: without its control characters (below U+0020 and
// U+007F..U+009F: a pasted line break, a tab, a NUL), then without the blanks around it.
std::u16string CleanAddress(std::u16string text);

// The text between the first occurrence of `start` and the next occurrence of `end` behind it;
// no value when either is missing. Both delimiters must be non-empty.
std::optional<std::u16string> TextBetween(const std::u16string& text, const std::u16string& start,
                                          const std::u16string& end);

} // namespace mdCode

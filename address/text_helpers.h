#pragma once

#include <optional>
#include <string>

namespace mdCode {

// The text followed by "/" unless it already ends in "/".
std::u16string AddSlash(const std::u16string& text);

// The text followed by "\" unless it already ends in "\".
std::u16string AddBackslash(const std::u16string& text);

// The text without its CR and LF characters.
std::u16string WithoutLineBreaks(std::u16string text);

// The text between the first occurrence of `start` and the next occurrence of `end` behind it;
// no value when either is missing. Both delimiters must be non-empty.
std::optional<std::u16string> TextBetween(const std::u16string& text, const std::u16string& start,
                                          const std::u16string& end);

} // namespace mdCode

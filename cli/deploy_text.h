#pragma once

#include <string>
#include <string_view>

// The command's text is UTF-8, the core's UTF-16.
namespace deploy {

// Invalid UTF-8 becomes U+FFFD, one for each byte that begins no valid sequence.
std::u16string FromUtf8(std::string_view bytes);

// A lone surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view text);

// The text with each of the character replaced.
std::string Replaced(const std::string& text, char character, const std::string& replacement);

} // namespace deploy

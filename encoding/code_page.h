#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Windows-1252, the 8-bit code page of the settings file and of the address encoding.
namespace mdCode {

// The character's code in the code page; no value when the code page cannot hold it.
std::optional<unsigned char> AnsiCode(char16_t character);

// The text in the code page; a character it cannot hold becomes '?'.
std::string ToAnsi(std::u16string_view text);
std::u16string FromAnsi(std::string_view bytes);

// The characters of the text that the code page cannot hold, each once, in the order they first
// appear. A surrogate pair is one character; a lone surrogate is a character of its own.
std::vector<std::u16string> CharactersWithoutCode(std::u16string_view text);

} // namespace mdCode

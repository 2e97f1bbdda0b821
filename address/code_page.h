#pragma once

#include <optional>
#include <string>
#include <string_view>

// Windows-1252, the 8-bit code page of the settings file and of the address encoding.
namespace mdCode {

// The character's code in the code page; no value when the code page cannot hold it.
std::optional<unsigned char> AnsiCode(char16_t character);

// The text in the code page; a character it cannot hold becomes '?'.
std::string ToAnsi(std::u16string_view text);
std::u16string FromAnsi(std::string_view bytes);

} // namespace mdCode

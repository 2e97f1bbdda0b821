#pragma once

#include <string>
#include <string_view>

// Windows-1252, the 8-bit code page of the settings file and of the address encoding.
namespace mdCode {

// The character's code in the code page; '?' when the code page cannot hold it.
unsigned char AnsiCode(char16_t character);

std::string ToAnsi(std::u16string_view text);
std::u16string FromAnsi(std::string_view bytes);

} // namespace mdCode

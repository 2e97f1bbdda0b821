#pragma once

#include <cstddef>
#include <string>

// Texts of a given length in units, made of file names as users write them.
// French: blanks, accents, apostrophes, brackets, a "#", an en dash and extensions.
std::u16string AccentedFrenchText(std::size_t length);
// Names of many kinds: plain ASCII, French, Japanese, emoji, reserved and invisible characters,
// escaped bytes and the stand-in for a "\".
std::u16string MixedNames(std::size_t length);

#pragma once

#include <cstddef>
#include <string_view>

namespace mdCode {

// The length in code units (1, or 2 for a surrogate pair) of the character at `at` when it is a
// separator or a control character (Unicode categories Zs, Zl, Zp, Cc, Cf), the blank excepted;
// 0 otherwise. Such characters are invisible, break a line or change how text around them is
// shown, so an address writes them as "%XX" to be read as it is.
std::size_t SeparatorOrControlLength(std::u16string_view text, std::size_t at);

} // namespace mdCode

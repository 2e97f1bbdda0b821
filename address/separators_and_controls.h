#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace mdCode {

namespace detail {

struct CodePointRange {
    char32_t first;
    char32_t last;
};

// Unicode 15's characters of the categories Zs, Zl, Zp, Cc and Cf but the blank, in order.
inline constexpr std::array<CodePointRange, 25> SeparatorsAndControls{{
    {0x0000, 0x001F},   {0x007F, 0x00A0},   {0x00AD, 0x00AD},   {0x0600, 0x0605},
    {0x061C, 0x061C},   {0x06DD, 0x06DD},   {0x070F, 0x070F},   {0x0890, 0x0891},
    {0x08E2, 0x08E2},   {0x1680, 0x1680},   {0x180E, 0x180E},   {0x2000, 0x200F},
    {0x2028, 0x202F},   {0x205F, 0x2064},   {0x2066, 0x206F},   {0x3000, 0x3000},
    {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD}, {0x110CD, 0x110CD},
    {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
    {0xE0020, 0xE007F},
}};

} // namespace detail

// Whether the character is a separator or a control character (Unicode categories Zs, Zl, Zp,
// Cc, Cf), the blank excepted. Such characters are invisible, break a line or change how text
// around them is shown, so an address writes them as "%XX" to be read as it is. The ranges are
// in the header so that faster tables can be derived from them when the program is built.
constexpr bool IsSeparatorOrControl(char32_t codePoint) {
    const auto& ranges = detail::SeparatorsAndControls;
    const auto range =
        std::lower_bound(ranges.begin(), ranges.end(), codePoint,
                         [](const detail::CodePointRange& r, char32_t c) { return r.last < c; });
    return range != ranges.end() && range->first <= codePoint;
}

// The length in code units (1, or 2 for a surrogate pair) of the character at `at` when it is a
// separator or a control character; 0 otherwise.
std::size_t SeparatorOrControlLength(std::u16string_view text, std::size_t at);

} // namespace mdCode

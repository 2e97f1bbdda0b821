#include "address/separators_and_controls.h"

#include "encoding/utf8.h"

#include <algorithm>
#include <array>

namespace mdCode {
namespace {

struct CodePointRange {
    char32_t first;
    char32_t last;
};

// Unicode 15's characters of the categories Zs, Zl, Zp, Cc and Cf but the blank, in order.
constexpr std::array<CodePointRange, 25> SeparatorsAndControls{{
    {0x0000, 0x001F},   {0x007F, 0x00A0},   {0x00AD, 0x00AD},   {0x0600, 0x0605},
    {0x061C, 0x061C},   {0x06DD, 0x06DD},   {0x070F, 0x070F},   {0x0890, 0x0891},
    {0x08E2, 0x08E2},   {0x1680, 0x1680},   {0x180E, 0x180E},   {0x2000, 0x200F},
    {0x2028, 0x202F},   {0x205F, 0x2064},   {0x2066, 0x206F},   {0x3000, 0x3000},
    {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD}, {0x110CD, 0x110CD},
    {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
    {0xE0020, 0xE007F},
}};

bool IsSeparatorOrControl(char32_t codePoint) {
    const auto range =
        std::lower_bound(SeparatorsAndControls.begin(), SeparatorsAndControls.end(), codePoint,
                         [](const CodePointRange& r, char32_t c) { return r.last < c; });
    return range != SeparatorsAndControls.end() && range->first <= codePoint;
}

} // namespace

std::size_t SeparatorOrControlLength(std::u16string_view text, std::size_t at) {
    if (IsSurrogatePairAt(text, at)) {
        return IsSeparatorOrControl(CodePointOfPair(text[at], text[at + 1])) ? 2 : 0;
    }
    return IsSeparatorOrControl(text[at]) ? 1 : 0;
}

} // namespace mdCode

#include "address/separators_and_controls.h"

#include "encoding/utf8.h"

namespace mdCode {

std::size_t SeparatorOrControlLength(std::u16string_view text, std::size_t at) {
    if (IsSurrogatePairAt(text, at)) {
        return IsSeparatorOrControl(CodePointOfPair(text[at], text[at + 1])) ? 2 : 0;
    }
    return IsSeparatorOrControl(text[at]) ? 1 : 0;
}

} // namespace mdCode

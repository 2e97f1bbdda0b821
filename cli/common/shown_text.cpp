#include "cli/common/shown_text.h"

#include "address/address_composition.h"
#include "address/separators_and_controls.h"
#include "encoding/utf8.h"
#include "paths/program_path.h"

#include <cstdio>

namespace cli {
namespace {

std::string Escaped(char32_t character) {
    switch (character) {
    case u'\r':
        return "\\r";
    case u'\n':
        return "\\n";
    case u'\t':
        return "\\t";
    case 0:
        return "\\0";
    default:
        char written[16];
        std::snprintf(written, sizeof written, "\\u{%X}", static_cast<unsigned>(character));
        return written;
    }
}

} // namespace

std::string ShownPath(std::string_view nativePath) {
    return mdCode::ToUtf8(mdCode::PlainFileAddress(u"", mdCode::ToProgramForm(nativePath)));
}

std::string ShownText(std::u16string_view text) {
    const std::size_t first = text.find_first_not_of(u' ');
    const std::size_t last = text.find_last_not_of(u' ');
    std::string shown;
    for (std::size_t at = 0; at < text.size();) {
        if (text[at] == u' ' && (at < first || at > last || first == std::u16string_view::npos)) {
            shown += "⎵";
            ++at;
        } else if (const std::size_t length = mdCode::SeparatorOrControlLength(text, at)) {
            shown +=
                Escaped(length == 2 ? mdCode::CodePointOfPair(text[at], text[at + 1]) : text[at]);
            at += length;
        } else {
            at += mdCode::AppendUtf8Of(shown, text, at);
        }
    }
    return shown;
}

} // namespace cli

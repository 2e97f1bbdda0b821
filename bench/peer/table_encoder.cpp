#include "peer/table_encoder.h"

#include "address/separators_and_controls.h"
#include "encoding/utf8.h"
#include "paths/program_path.h"

#include <array>
#include <memory>
#include <string_view>

namespace {

// For each unit: 0 to keep it, 1 to write its low byte as "%XX", 2 to write its UTF-8 bytes as
// "%XX", 3 for a high surrogate, whose pair decides.
using Table = std::array<unsigned char, 0x10000>;

std::unique_ptr<Table> FilledTable() {
    auto table = std::make_unique<Table>();
    for (char32_t unit = 0; unit < table->size(); ++unit) {
        const std::u16string text(1, static_cast<char16_t>(unit));
        unsigned char action = 0;
        if (unit >= 0xD800 && unit <= 0xDBFF)
            action = 3;
        else if (unit < 0x80 &&
                 (std::u16string_view(u"$&+,/:;=?@ \"<>#%{}|\\^~[]`")
                          .find(static_cast<char16_t>(unit)) != std::u16string_view::npos ||
                  mdCode::SeparatorOrControlLength(text, 0) > 0))
            action = 1;
        else if (unit == mdCode::NameBackslash || mdCode::EscapedByteAt(text, 0) >= 0)
            action = 1;
        else if (mdCode::SeparatorOrControlLength(text, 0) > 0)
            action = 2;
        (*table)[unit] = action;
    }
    return table;
}

void AppendEncoded(std::u16string& out, unsigned byte) {
    constexpr std::u16string_view digits = u"0123456789ABCDEF";
    out += u'%';
    out += digits[byte >> 4];
    out += digits[byte & 0xF];
}

void AppendEncodedUtf8(std::u16string& out, char32_t codePoint) {
    std::string bytes;
    mdCode::AppendUtf8(bytes, codePoint);
    for (const char byte : bytes)
        AppendEncoded(out, static_cast<unsigned char>(byte));
}

} // namespace

std::u16string TableEncode(const std::u16string& name) {
    static const std::unique_ptr<Table> table = FilledTable();
    std::u16string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char16_t unit = name[i];
        switch ((*table)[unit]) {
        case 0:
            out += unit;
            break;
        case 1:
            AppendEncoded(out, unit & 0xFF);
            break;
        case 2:
            AppendEncodedUtf8(out, unit);
            break;
        default:
            if (!mdCode::IsSurrogatePairAt(name, i)) {
                out += unit;
            } else if (mdCode::SeparatorOrControlLength(name, i) == 2) {
                AppendEncodedUtf8(out, mdCode::CodePointOfPair(unit, name[i + 1]));
                ++i;
            } else {
                out.append(name, i, 2);
                ++i;
            }
        }
    }
    return out;
}

// The code page on any bytes, and on any text made of the same bytes read as 16-bit units.
#include "encoding/code_page.h"
#include "property.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

using namespace mdCode;

namespace {

std::u16string Units(std::string_view bytes) {
    std::u16string units;
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        units += static_cast<char16_t>(static_cast<unsigned char>(bytes[at]) |
                                       static_cast<unsigned char>(bytes[at + 1]) << 8);
    }
    return units;
}

// Every byte is the code of one character, so bytes survive the trip through text.
void CheckBytes(std::string_view bytes) {
    const std::u16string text = FromAnsi(bytes);
    LIRVANE_PROPERTY(text.size() == bytes.size());
    LIRVANE_PROPERTY(ToAnsi(text) == bytes);
    for (std::size_t at = 0; at < text.size(); ++at) {
        LIRVANE_PROPERTY(AnsiCode(text[at]) == static_cast<unsigned char>(bytes[at]));
    }
    LIRVANE_PROPERTY(CharactersWithoutCode(text).empty());
}

bool Covers(const std::vector<std::u16string>& characters, char16_t unit) {
    return std::any_of(characters.begin(), characters.end(), [unit](const std::u16string& c) {
        return c.find(unit) != std::u16string::npos;
    });
}

// ToAnsi writes each character's code, or "?" for one without; the characters named as
// without a code are exactly those, each once.
void CheckText(const std::u16string& text) {
    const std::string bytes = ToAnsi(text);
    const std::vector<std::u16string> named = CharactersWithoutCode(text);
    LIRVANE_PROPERTY(bytes.size() == text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        const auto code = AnsiCode(text[at]);
        LIRVANE_PROPERTY(bytes[at] == static_cast<char>(code.value_or('?')));
        if (code) {
            LIRVANE_PROPERTY(FromAnsi(bytes.substr(at, 1)) == text.substr(at, 1));
        } else {
            LIRVANE_PROPERTY(Covers(named, text[at]));
        }
    }
    LIRVANE_PROPERTY((FromAnsi(bytes) == text) == named.empty());
    for (const std::u16string& character : named) {
        LIRVANE_PROPERTY(std::count(named.begin(), named.end(), character) == 1);
        LIRVANE_PROPERTY(text.find(character) != std::u16string::npos);
        if (character.size() == 1) {
            LIRVANE_PROPERTY(!AnsiCode(character[0]));
        } else {
            LIRVANE_PROPERTY(character.size() == 2 && character[0] >= 0xD800 &&
                             character[0] <= 0xDBFF && character[1] >= 0xDC00 &&
                             character[1] <= 0xDFFF);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CheckBytes(bytes);
    CheckText(Units(bytes));
    return 0;
}

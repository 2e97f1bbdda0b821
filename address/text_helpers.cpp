#include "address/text_helpers.h"

namespace mdCode {
namespace {

std::u16string WithFinal(const std::u16string& text, char16_t final) {
    if (!text.empty() && text.back() == final) {
        return text;
    }
    return text + final;
}

} // namespace

std::u16string AddSlash(const std::u16string& text) {
    return WithFinal(text, u'/');
}

std::u16string AddBackslash(const std::u16string& text) {
    return WithFinal(text, u'\\');
}

std::u16string CleanAddress(std::u16string text) {
    std::erase_if(text, [](char16_t character) {
        return character < 0x20 || (character >= 0x7F && character <= 0x9F);
    });
    const auto first = text.find_first_not_of(u' ');
    if (first == std::u16string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(u' ') - first + 1);
}

} // namespace mdCode

// AddSlash, AddBackslash and CleanAddress on any texts.
#include "address/text_helpers.h"
#include "property.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fuzzer/FuzzedDataProvider.h>

using namespace mdCode;

namespace {

// Bytes as characters of the same value: few distinct characters, so delimiters often match.
std::u16string Widened(const std::string& bytes) {
    return {bytes.begin(), bytes.end()};
}

bool IsControl(char16_t character) {
    return character < 0x20 || (character >= 0x7F && character <= 0x9F);
}

void CheckFinal(std::u16string (*add)(const std::u16string&), char16_t final,
                const std::u16string& text) {
    const std::u16string added = add(text);
    LIRVANE_PROPERTY(added.starts_with(text));
    LIRVANE_PROPERTY(added.ends_with(final));
    LIRVANE_PROPERTY(added.size() == text.size() + (text.ends_with(final) ? 0 : 1));
    LIRVANE_PROPERTY(add(added) == added);
}

void CheckCleanAddress(const std::u16string& text) {
    const std::u16string kept = CleanAddress(text);
    LIRVANE_PROPERTY(std::none_of(kept.begin(), kept.end(), IsControl));
    LIRVANE_PROPERTY(!kept.starts_with(u' ') && !kept.ends_with(u' '));
    // Only blanks go besides the controls: every other character is kept.
    const auto others = [](const std::u16string& t) {
        return std::count_if(t.begin(), t.end(),
                             [](char16_t c) { return !IsControl(c) && c != u' '; });
    };
    LIRVANE_PROPERTY(others(kept) == others(text));
    // The characters kept are the text's own, in their order.
    auto next = text.begin();
    for (const char16_t character : kept) {
        next = std::find(next, text.end(), character);
        LIRVANE_PROPERTY(next != text.end());
        ++next;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::u16string text = Widened(input.ConsumeRemainingBytesAsString());

    CheckFinal(AddSlash, u'/', text);
    CheckFinal(AddBackslash, u'\\', text);
    CheckCleanAddress(text);
    return 0;
}

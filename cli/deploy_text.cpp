#include "cli/deploy_text.h"

#include "encoding/utf8.h"

namespace deploy {

constexpr char32_t ReplacementCharacter = 0xFFFD;

std::u16string FromUtf8(std::string_view bytes) {
    std::u16string text;
    while (!bytes.empty()) {
        const mdCode::Utf8Sequence sequence = mdCode::DecodeUtf8(bytes);
        mdCode::AppendUtf16(text, sequence.length == 0 ? ReplacementCharacter : sequence.codePoint);
        bytes.remove_prefix(sequence.length == 0 ? 1 : sequence.length);
    }
    return text;
}

std::string ToUtf8(std::u16string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (mdCode::IsSurrogatePairAt(text, i)) {
            mdCode::AppendUtf8(bytes, mdCode::CodePointOfPair(text[i], text[i + 1]));
            ++i;
        } else if (mdCode::IsHighSurrogate(text[i]) || mdCode::IsLowSurrogate(text[i])) {
            mdCode::AppendUtf8(bytes, ReplacementCharacter);
        } else {
            mdCode::AppendUtf8(bytes, text[i]);
        }
    }
    return bytes;
}

std::string Replaced(const std::string& text, char character, const std::string& replacement) {
    std::string result;
    for (const char each : text) {
        result += each == character ? replacement : std::string(1, each);
    }
    return result;
}

} // namespace deploy

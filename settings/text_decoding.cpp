#include "settings/text_decoding.h"

#include "encoding/code_page.h"
#include "encoding/utf8.h"

#include <algorithm>
#include <optional>

namespace mdCode {
namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

// The text of bytes that are wholly valid UTF-8; no value otherwise.
std::optional<std::u16string> FromUtf8(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    while (!bytes.empty()) {
        const Utf8Sequence sequence = DecodeUtf8(bytes);
        if (sequence.length == 0) {
            return std::nullopt;
        }
        AppendUtf16(text, sequence.codePoint);
        bytes.remove_prefix(sequence.length);
    }
    return text;
}

bool IsAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char byte) { return static_cast<unsigned char>(byte) < 0x80; });
}

} // namespace

std::u16string DecodeText(std::string_view bytes) {
    if (bytes.starts_with(ByteOrderMark)) {
        bytes.remove_prefix(ByteOrderMark.size());
    }
    if (!IsAscii(bytes)) {
        if (auto text = FromUtf8(bytes)) {
            return std::move(*text);
        }
    }
    return FromAnsi(bytes);
}

} // namespace mdCode

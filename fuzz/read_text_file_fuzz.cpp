// The settings file reader on any bytes.
#include "encoding/code_page.h"
#include "property.h"
#include "scratch_file.h"
#include "settings/settings_file.h"
#include "settings/text_decoding.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using namespace mdCode;

namespace {

std::string Utf8(std::u16string_view text) {
    std::string bytes;
    for (std::size_t at = 0; at < text.size(); ++at) {
        char32_t c = text[at];
        if (c >= 0xD800 && c <= 0xDBFF && at + 1 < text.size() && text[at + 1] >= 0xDC00 &&
            text[at + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++at] - 0xDC00);
        }
        if (c < 0x80) {
            bytes += static_cast<char>(c);
        } else if (c < 0x800) {
            bytes += static_cast<char>(0xC0 | c >> 6);
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            bytes += static_cast<char>(0xE0 | c >> 12);
            bytes += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            bytes += static_cast<char>(0xF0 | c >> 18);
            bytes += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            bytes += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            bytes += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return bytes;
}

// The text's units as bytes, two each, in the order given.
std::string Utf16(std::u16string_view text, bool littleEndian) {
    std::string bytes;
    for (const char16_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF);
        const char high = static_cast<char>(unit >> 8);
        bytes += littleEndian ? std::string{low, high} : std::string{high, low};
    }
    return bytes;
}

// What the reader gives for a text without double quotes, worked out line by line: lines end
// at CR LF, a lone CR or a lone LF (one at the very end starts no new line), leading spaces go,
// empty lines in front of the first non-empty one vanish, and the rest are joined by CR LF.
std::u16string UnquotedReading(const std::u16string& text) {
    std::vector<std::u16string> lines{u""};
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char16_t c = text[at];
        if (c != u'\r' && c != u'\n') {
            lines.back() += c;
            continue;
        }
        if (c == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n') {
            ++at;
        }
        if (at + 1 < text.size()) {
            lines.emplace_back();
        }
    }
    std::u16string reading;
    bool started = false;
    for (std::u16string& line : lines) {
        line.erase(0, line.find_first_not_of(u' '));
        if (started) {
            reading += u"\r\n" + line;
        } else {
            reading = line;
            started = !line.empty();
        }
    }
    return reading;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFile file;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    file.Write(bytes);

    // Inputs stay far below the size limit, so the file is always read.
    std::optional<std::u16string> read;
    try {
        read = ReadTextFile(file.ProgramPath());
    } catch (const FileError&) {
        LIRVANE_PROPERTY(!"a readable file was refused");
    }

    // The text is the bytes in UTF-8 or in Windows-1252, or behind a UTF-16 mark in UTF-16 (but
    // for an odd last byte), with nothing lost or added.
    const std::u16string text = DecodeText(bytes);
    std::string_view body = bytes;
    const bool littleEndian = body.starts_with("\xFF\xFE");
    if (littleEndian || body.starts_with("\xFE\xFF")) {
        body.remove_prefix(2);
        LIRVANE_PROPERTY(Utf16(text, littleEndian) == body.substr(0, body.size() / 2 * 2));
    } else {
        if (body.starts_with("\xEF\xBB\xBF")) {
            body.remove_prefix(3);
        }
        LIRVANE_PROPERTY(ToAnsi(text) == body || Utf8(text) == body);
    }

    LIRVANE_PROPERTY(read.has_value() == !text.empty());
    if (text.find(u'"') == std::u16string::npos) {
        LIRVANE_PROPERTY(read.value_or(u"") == UnquotedReading(text));
    }
    return 0;
}

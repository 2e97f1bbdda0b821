#pragma once

#include <string>
#include <string_view>

namespace mdCode {

// The text of a settings file's bytes. The program writes Windows-1252, but a Linux text editor
// writes UTF-8, possibly behind a byte-order mark, and Windows' Notepad saves "Unicode" as UTF-16
// behind its mark: a UTF-16 mark decodes the rest as UTF-16; a UTF-8 mark is skipped, and bytes
// that are valid UTF-8 and not all ASCII are read as UTF-8. Anything else is Windows-1252.
std::u16string DecodeText(std::string_view bytes);

} // namespace mdCode

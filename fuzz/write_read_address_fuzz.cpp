// Any address the settings window may save is written as its Windows-1252 bytes and CR LF, and
// reads back equal.
#include "encoding/code_page.h"
#include "property.h"
#include "scratch_file.h"
#include "settings/settings_file.h"
#include "settings/text_decoding.h"

#include <cstddef>
#include <cstdint>

using namespace mdCode;

namespace {

// The reader splits lines at CR and LF (the settings window removes both), skips leading spaces
// and takes a leading double quote for the start of a quoted item. It also reads bytes that
// form UTF-8 as UTF-8 and skips a leading UTF-8 byte-order mark: the few addresses whose
// Windows-1252 bytes look like that (such as "Ã©", which is "é" in UTF-8) do not read back.
bool ReadsBackWhole(const std::u16string& address) {
    return address.find_first_of(u"\r\n") == std::u16string::npos && !address.starts_with(u' ') &&
           !address.starts_with(u'"') && DecodeText(ToAnsi(address)) == address;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ScratchFile file;
    // Every character of this text has a code: the settings window refuses any other.
    const std::u16string address =
        FromAnsi(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!ReadsBackWhole(address)) {
        return 0;
    }
    WriteTextFile(file.ProgramPath(), address);
    LIRVANE_PROPERTY(file.Read() == ToAnsi(address) + "\r\n");
    LIRVANE_PROPERTY(ReadTextFile(file.ProgramPath()) == address);
    return 0;
}

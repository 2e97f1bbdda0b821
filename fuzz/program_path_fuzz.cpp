// Checks the program form on any bytes: a native path crosses to the program form and back
// unchanged, and a name below a folder is cut out of the path exactly.
#include "address/address_composition.h"
#include "address/text_helpers.h"
#include "paths/program_path.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::u16string program = mdCode::ToProgramForm(bytes);
    if (mdCode::ToNativeBytes(program) != bytes ||
        mdCode::ToProgramForm(mdCode::ToNativeBytes(program)) != program)
        std::abort();
    if (size == 0)
        return 0;

    // The first byte splits the rest into a folder and a name below it.
    const std::string_view rest = bytes.substr(1);
    const std::size_t split = std::min<std::size_t>(data[0], rest.size());
    const std::u16string folder = mdCode::ToProgramForm(rest.substr(0, split));
    const std::u16string name = mdCode::ToProgramForm(rest.substr(split));
    const std::u16string path = mdCode::AddBackslash(folder) + name;
    const auto relative = mdCode::RelativeName(folder, path).value_or(u"");
    // Ten "\" in a row end the name, as they end every path; trailing "\" lend to them.
    const std::u16string marked = name + std::u16string(mdCode::EndMarker);
    if (relative != marked.substr(0, marked.find(mdCode::EndMarker)))
        std::abort();
    // Whatever it is given, a name comes only from a path that begins with the folder.
    const std::u16string other = mdCode::ToProgramForm(rest);
    if (!mdCode::RelativeName(folder, other).value_or(u"").empty() &&
        !other.starts_with(mdCode::AddBackslash(folder)))
        std::abort();
    return 0;
}

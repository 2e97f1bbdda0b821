#include "cli/shown_path.h"

#include "address/address_composition.h"
#include "encoding/utf8.h"
#include "paths/program_path.h"

namespace cli {

std::string ShownPath(std::string_view nativePath) {
    return mdCode::ToUtf8(mdCode::PlainFileAddress(u"", mdCode::ToProgramForm(nativePath)));
}

} // namespace cli

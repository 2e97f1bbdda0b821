#pragma once

#include "address/address_composition.h"

#include <optional>
#include <string>

namespace address {

// A file's address, or, when it has none, why: a French sentence that names the file.
struct AddressOrFailure {
    std::optional<std::u16string> address;
    std::string failure;
    // With an address: the file and the program folder, native.
    std::string file;
    std::string folder;
};

// The address that a drop of the file would add in the program: on its address box with the rule
// FileAddress, on its file list with PlainFileAddress. The file (native bytes) is found as the
// program's command line finds it, from the current folder; it must be a file, or a link to one.
// The program folder is `programFolder` (native, real) when given, else the deployed folder that
// holds the file as its path is written, or else as the system resolves it; its PARAM.ini gives
// the base address.
AddressOrFailure AddressOfFile(const std::string& file,
                               const std::optional<std::string>& programFolder,
                               mdCode::AddressRule rule);

} // namespace address

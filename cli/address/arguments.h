#pragma once

#include <optional>
#include <string>
#include <vector>

namespace address {

// What lirvane-address is asked to do; paths as the native bytes they were given as.
struct AddressArguments {
    bool help = false;
    bool plain = false;
    bool copy = false;
    bool notify = false;
    // The files are given as URIs (file:// or a location the desktop has mounted).
    bool uris = false;
    // The web server is asked for each address.
    bool check = false;
    std::optional<std::string> folder;
    std::vector<std::string> files;
};

// Reads the arguments after the command's name, by the commands' conventions (options.h).
// Throws cli::UsageError.
AddressArguments ParseAddressArguments(const std::vector<std::string>& arguments);

// What --help prints.
extern const char AddressUsage[];

} // namespace address

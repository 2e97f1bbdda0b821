#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace cli {

// What lirvane-address is asked to do; paths as the native bytes they were given as.
struct AddressArguments {
    bool help = false;
    bool plain = false;
    bool copy = false;
    bool notify = false;
    std::optional<std::string> folder;
    std::vector<std::string> files;
};

// Arguments that make no sense; the message says why, in French.
class UsageError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the arguments after the command's name. Options may stand before, between or after the
// files; every argument after "--" is a file. Throws UsageError.
AddressArguments ParseAddressArguments(const std::vector<std::string>& arguments);

// What --help prints.
extern const char Usage[];

} // namespace cli

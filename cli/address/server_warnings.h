#pragma once

#include "cli/address/file_address.h"
#include "files/web_server_access.h"

#include <map>
#include <string>
#include <vector>

namespace address {

// What an address will give whoever receives it: a warning, in French, for a file that the web
// server cannot read, and, when the server is asked, for an address it does not serve.
class ServerWarnings final {
public:
    explicit ServerWarnings(bool askServer) : askServer_(askServer) {}

    // The warnings for a file that has its address, each "« name » : why", the name below the
    // program folder. Throws cli::Interrupted when the command is interrupted while it asks.
    std::vector<std::string> Of(const AddressOrFailure& addressed);

private:
    bool askServer_;
    std::map<std::string, mdCode::WebServerAccess> access_;
};

} // namespace address

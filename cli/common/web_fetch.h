#pragma once

#include <string>

namespace cli {

// What the web server gave for an address, fetched with curl as this user's browser would fetch
// it: no ~/.curlrc (-q), the proxy variables honoured, at most 5 redirections and 5 seconds.
struct WebAnswer {
    // The HTTP status of the last answer ("200", "404"); empty when no answer came.
    std::string status;
    std::string body;
    // When no answer came: what came instead ("aucune", or curl's own words) and the likely
    // cause, both in French but for curl's words.
    std::string failure;
    std::string cause;
};

// Throws Interrupted when the command is interrupted meanwhile.
WebAnswer FetchAddress(const std::string& url);

} // namespace cli

#include "cli/deploy_address_check.h"

#include "address/address_composition.h"
#include "cli/deploy_child_process.h"
#include "cli/deploy_staged_file.h"
#include "cli/deploy_text.h"

#include <iostream>
#include <optional>
#include <random>
#include <system_error>

namespace deploy {
namespace {

std::string RandomHex(int bytes) {
    constexpr std::string_view digits = "0123456789abcdef";
    std::random_device random;
    std::string hex;
    for (int i = 0; i < bytes; ++i) {
        const unsigned byte = random() & 0xFF;
        hex += digits[byte >> 4];
        hex += digits[byte & 0xF];
    }
    return hex;
}

// The likely cause of a failed fetch, from curl's exit code.
std::string FetchFailureCause(std::optional<int> curlExitCode) {
    switch (curlExitCode.value_or(-1)) {
    case 6:
        return "the host name is not known (a typo?)";
    case 7:
        return "nothing answers at that host and port (the server is down, or http and https are "
               "mixed up)";
    case 28:
        return "no answer within 5 seconds (the server or the network is slow or down)";
    case 35:
    case 51:
    case 58:
    case 60:
    case 77:
    case 83:
    case 90:
    case 91:
        return "the secure connection failed (https where the server speaks only http, or a "
               "certificate this machine does not trust)";
    default:
        return "the address cannot be fetched from this machine";
    }
}

// The likely cause of an HTTP status other than 200.
std::string StatusCause(const std::string& status) {
    if (status == "404") {
        return "the base address does not lead to this folder (a missing folder part, a typo, "
               "another site)";
    }
    if (status == "401" || status == "403") {
        return "the server refuses to give the folder's files (its rights, or a password)";
    }
    return "the server does not give the folder's files";
}

struct Failure {
    std::string got;
    std::string cause;
};

// What fetching the probe gave other than its content; none when it gave the content. curl
// reads no ~/.curlrc (-q) but honours the proxy variables, as this user's browser would; it
// writes the HTTP status after the body, on a line of its own.
std::optional<Failure> FetchFailure(const std::string& url, const std::string& content) {
    ChildOutcome fetched;
    try {
        fetched = RunCapturingOutput({"curl", "-q", "-g", "-sS", "-L", "--max-redirs", "5",
                                      "--max-time", "5", "-w", "\n%{http_code}", "--", url});
    } catch (const std::system_error& error) {
        return Failure{"no answer: curl cannot be started (" + error.code().message() + ")",
                       FetchFailureCause(std::nullopt)};
    }
    if (fetched.exitCode != 0) {
        const std::string firstLine = fetched.errors.substr(0, fetched.errors.find('\n'));
        return Failure{firstLine.empty() ? "no answer" : firstLine,
                       FetchFailureCause(fetched.exitCode)};
    }
    const std::size_t statusAt = fetched.output.rfind('\n');
    const std::string status =
        statusAt == std::string::npos ? fetched.output : fetched.output.substr(statusAt + 1);
    if (status != "200") {
        return Failure{"HTTP " + status, StatusCause(status)};
    }
    if (fetched.output.substr(0, statusAt) != content) {
        return Failure{"other bytes than the file's",
                       "the address leads to another folder, or to a page that the server gives "
                       "for any name"};
    }
    return std::nullopt;
}

} // namespace

bool AddressServesFolder(const std::u16string& baseAddress, const std::string& folder) {
    const std::string content = RandomHex(16);
    const std::string probeName = "lirvane-check-" + content.substr(0, 12) + ".txt";
    const std::string url = ToUtf8(mdCode::FileAddress(baseAddress, FromUtf8(probeName)));
    std::optional<Failure> failure;
    try {
        // Readable by the web server, whatever this user's umask.
        StagedFile probe(folder, 0644, probeName);
        probe.Write(content);
        probe.Close();
        failure = FetchFailure(url, content);
    } catch (const std::system_error& error) {
        failure =
            Failure{"nothing: the probe cannot be written (" + std::string(error.what()) + ")",
                    "this user may not write into the folder"};
    }
    if (!failure) {
        std::cout << "OK: " << ToUtf8(baseAddress) << " serves " << folder << std::endl;
        return true;
    }
    std::cerr << "Warning: " << ToUtf8(baseAddress) << " does not serve " << folder << ":\n"
              << "  " << url << " gave " << failure->got << ".\n"
              << "  Likely cause: " << failure->cause << "." << std::endl;
    return false;
}

} // namespace deploy

#include "cli/common/web_fetch.h"

#include "cli/common/child_process.h"
#include "cli/common/interruption.h"
#include "files/file_error.h"

#include <optional>

namespace cli {
namespace {

// The likely cause of a failed fetch, from curl's exit code.
std::string FetchFailureCause(std::optional<int> curlExitCode) {
    switch (curlExitCode.value_or(-1)) {
    case 6:
        return "le nom d'hôte est inconnu (une faute de frappe ?)";
    case 7:
        return "rien ne répond à cet hôte et à ce port (le serveur est arrêté, ou http et https "
               "sont confondus)";
    case 28:
        return "aucune réponse en 5 secondes (le serveur ou le réseau est lent ou arrêté)";
    case 35:
    case 51:
    case 58:
    case 60:
    case 77:
    case 83:
    case 90:
    case 91:
        return "la connexion sécurisée a échoué (https là où le serveur ne parle que http, ou un "
               "certificat auquel cette machine ne se fie pas)";
    default:
        return "l'adresse ne peut pas être atteinte depuis cette machine";
    }
}

} // namespace

WebAnswer FetchAddress(const std::string& url) {
    ChildOutcome fetched;
    try {
        // The status follows the body, on a line of its own.
        fetched = RunCapturingOutput({"curl", "-q", "-g", "-sS", "-L", "--max-redirs", "5",
                                      "--max-time", "5", "-w", "\n%{http_code}", "--", url});
    } catch (const mdCode::FileError& error) {
        return {{},
                {},
                "aucune, curl ne peut pas être lancé (" + mdCode::FrenchReason(error.Error()) + ")",
                FetchFailureCause(std::nullopt)};
    }
    ThrowIfInterrupted();
    if (fetched.exitCode != 0) {
        const std::string firstLine = fetched.errors.substr(0, fetched.errors.find('\n'));
        return {
            {}, {}, firstLine.empty() ? "aucune" : firstLine, FetchFailureCause(fetched.exitCode)};
    }
    const std::size_t statusAt = fetched.output.rfind('\n');
    if (statusAt == std::string::npos)
        return {fetched.output, {}, {}, {}};
    return {fetched.output.substr(statusAt + 1), fetched.output.substr(0, statusAt), {}, {}};
}

} // namespace cli

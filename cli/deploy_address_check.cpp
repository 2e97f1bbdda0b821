#include "cli/deploy_address_check.h"

#include "address/address_composition.h"
#include "cli/deploy_child_process.h"
#include "cli/deploy_staged_file.h"
#include "cli/deploy_system_reason.h"
#include "cli/deploy_text.h"
#include "files/file_error.h"

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

// The likely cause of an HTTP status other than 200.
std::string StatusCause(const std::string& status) {
    if (status == "404") {
        return "l'adresse de base ne mène pas à ce dossier (une partie du chemin manque, une "
               "faute de frappe, un autre site)";
    }
    if (status == "401" || status == "403") {
        return "le serveur refuse de donner les fichiers du dossier (leurs droits, ou un mot de "
               "passe)";
    }
    return "le serveur ne donne pas les fichiers du dossier";
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
        return Failure{"aucune, curl ne peut pas être lancé (" +
                           mdCode::FrenchReason(error.code().value()) + ")",
                       FetchFailureCause(std::nullopt)};
    }
    if (fetched.exitCode != 0) {
        const std::string firstLine = fetched.errors.substr(0, fetched.errors.find('\n'));
        return Failure{firstLine.empty() ? "aucune" : firstLine,
                       FetchFailureCause(fetched.exitCode)};
    }
    const std::size_t statusAt = fetched.output.rfind('\n');
    const std::string status =
        statusAt == std::string::npos ? fetched.output : fetched.output.substr(statusAt + 1);
    if (status != "200") {
        return Failure{"HTTP " + status, StatusCause(status)};
    }
    if (fetched.output.substr(0, statusAt) != content) {
        return Failure{"d'autres octets que ceux du fichier",
                       "l'adresse mène à un autre dossier, ou à une page que le serveur donne "
                       "pour n'importe quel nom"};
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
        failure = Failure{"aucune, le fichier de test ne peut pas être écrit (" +
                              FrenchReason(error) + ")",
                          "cet utilisateur ne peut pas écrire dans le dossier"};
    }
    if (!failure) {
        std::cout << "OK : " << ToUtf8(baseAddress) << " mène au dossier « " << folder << " »"
                  << std::endl;
        return true;
    }
    std::cerr << "Attention : " << ToUtf8(baseAddress) << " ne mène pas au dossier « " << folder
              << " » :\n"
              << "  Réponse de " << url << " : " << failure->got << ".\n"
              << "  Cause probable : " << failure->cause << "." << std::endl;
    return false;
}

} // namespace deploy

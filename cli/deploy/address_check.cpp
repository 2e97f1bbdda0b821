#include "cli/deploy/address_check.h"

#include "address/address_composition.h"
#include "cli/common/shown_text.h"
#include "cli/common/web_fetch.h"
#include "encoding/utf8.h"
#include "files/file_error.h"
#include "files/new_file.h"

#include <cerrno>
#include <iostream>
#include <optional>
#include <random>

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

// Why the probe could not be written, from the system's error.
std::string WriteFailureCause(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return "cet utilisateur ne peut pas écrire dans le dossier";
    case EROFS:
        return "le dossier est en lecture seule";
    case ENOSPC:
    case EDQUOT:
        return "le disque du dossier est plein";
    default:
        return "le dossier ne peut pas recevoir de fichier";
    }
}

struct Failure {
    std::string got;
    std::string cause;
};

// What fetching the probe gave other than its content; none when it gave the content.
std::optional<Failure> FetchFailure(const std::string& url, const std::string& content) {
    const cli::WebAnswer answer = cli::FetchAddress(url);
    if (answer.status.empty())
        return Failure{answer.failure, answer.cause};
    if (answer.status != "200")
        return Failure{"HTTP " + answer.status, StatusCause(answer.status)};
    if (answer.body != content) {
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
    const std::string url =
        mdCode::ToUtf8(mdCode::FileAddress(baseAddress, mdCode::FromUtf8(probeName)));
    std::optional<Failure> failure;
    try {
        mdCode::NewFile probe(mdCode::SystemFileSystem(), folder + "/" + probeName, 0644);
        // Readable by the web server, whatever this user's umask.
        probe.SetMode(0644);
        probe.Write(content);
        probe.Close();
        failure = FetchFailure(url, content);
    } catch (const mdCode::FileError& error) {
        failure = Failure{"aucune, le fichier de test ne peut pas être écrit (" +
                              std::string(error.what()) + ")",
                          WriteFailureCause(error.Error())};
    }
    const std::string shownAddress = cli::ShownText(baseAddress);
    if (!failure) {
        std::cout << "OK : " << shownAddress << " mène au dossier « " << folder << " »"
                  << std::endl;
        return true;
    }
    std::cerr << "Attention : " << shownAddress << " ne mène pas au dossier « " << folder
              << " » :\n"
              << "  Réponse de " << url << " : " << failure->got << ".\n"
              << "  Cause probable : " << failure->cause << "." << std::endl;
    return false;
}

} // namespace deploy

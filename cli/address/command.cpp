#include "cli/address/command.h"

#include "cli/address/arguments.h"
#include "cli/address/exit_status.h"
#include "cli/address/file_address.h"
#include "cli/address/kept_copy.h"
#include "cli/address/notification.h"
#include "cli/address/server_warnings.h"
#include "cli/common/interruption.h"
#include "cli/common/options.h"
#include "cli/common/shown_text.h"
#include "cli/common/standard_output.h"
#include "encoding/utf8.h"
#include "forms/dropped_files.h"
#include "paths/resolved_path.h"

#include <QString>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace address {
namespace {

void Complain(const std::string& message) {
    std::fputs(("lirvane-address : " + message + "\n").c_str(), stderr);
}

const char CopyLostMessage[] =
    "la copie n'a pas pu être conservée après la fin de la commande : elle est perdue.";

// What the notification says: the address copied, or how many, then why a file has none.
void NotifyOutcome(const std::vector<std::u16string>& copied,
                   const std::vector<std::string>& failures, bool copyLost) {
    std::vector<std::string> lines;
    if (copyLost) {
        lines.push_back("La copie est perdue : " + std::string(CopyLostMessage));
    } else if (copied.size() == 1) {
        lines.push_back("Adresse copiée : " + mdCode::ToUtf8(copied.front()));
    } else if (!copied.empty()) {
        lines.push_back("Adresses copiées : " + std::to_string(copied.size()));
    }
    lines.insert(lines.end(), failures.begin(), failures.end());
    std::string body;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        body += (i > 1 ? "\n" : "") + lines[i];
    }
    ShowNotification(lines.front(), body);
}

// The address of a file given by its URI, as a file manager gives it.
AddressOrFailure AddressOfUri(const std::string& uri, const std::optional<std::string>& folder,
                              mdCode::AddressRule rule) {
    const QUrl url(QString::fromUtf8(uri), QUrl::StrictMode);
    if (const std::optional<std::string> path = forms::LocalPathOf(url))
        return AddressOfFile(*path, folder, rule);
    return {
        std::nullopt,
        "« " + cli::ShownPath(uri) +
            " » : ce n'est pas un fichier de cette machine, ni d'un lieu que le bureau a monté.",
        {},
        {}};
}

} // namespace

int RunAddressCommand(int argc, char** argv) {
    AddressArguments arguments;
    try {
        arguments = ParseAddressArguments({argv + std::min(argc, 1), argv + argc});
    } catch (const cli::UsageError& error) {
        Complain(error.what());
        std::fputs("Essayez « lirvane-address --help ».\n", stderr);
        return WrongUsage;
    }
    if (arguments.help) {
        std::fputs(AddressUsage, stdout);
        return EveryFileAddressed;
    }

    // The folder given, as the program names its own: real.
    std::optional<std::string> folder;
    if (arguments.folder)
        folder = mdCode::RealPath(*arguments.folder, mdCode::CurrentFolder());
    const mdCode::AddressRule rule =
        arguments.plain ? mdCode::PlainFileAddress : mdCode::FileAddress;
    // The lines as the address box would hold them, for the clipboard.
    std::u16string box;
    std::vector<std::u16string> addresses;
    std::vector<std::string> failures;
    std::vector<std::string> warnings;
    ServerWarnings serverWarnings(arguments.check);
    // Asking the server runs curl, which an interruption ends with the command.
    if (arguments.check)
        cli::NoteInterruptions();
    for (const std::string& file : arguments.files) {
        const AddressOrFailure result =
            arguments.uris ? AddressOfUri(file, folder, rule) : AddressOfFile(file, folder, rule);
        if (result.address) {
            std::fputs((mdCode::ToUtf8(*result.address) + "\n").c_str(), stdout);
            box = mdCode::AppendAddress(std::move(box), *result.address);
            addresses.push_back(*result.address);
            for (const std::string& warning : serverWarnings.Of(result)) {
                Complain(warning + ".");
                warnings.push_back(warning);
            }
        } else {
            Complain(result.failure);
            failures.push_back(result.failure);
        }
    }
    if (const std::optional<std::string> lost = cli::StandardOutputFailure()) {
        Complain(*lost + ".");
        failures.push_back(*lost);
    }
    const int failed = failures.empty() ? EveryFileAddressed : SomeFilesFailed;
    const bool copyLost =
        arguments.copy && !box.empty() && !CopyAndKeep(box, argv[0], failed ? failed : CopyLost);
    if (copyLost)
        Complain(CopyLostMessage);
    if (arguments.notify) {
        failures.insert(failures.end(), warnings.begin(), warnings.end());
        NotifyOutcome(addresses, failures, copyLost);
    }
    if (failed)
        return failed;
    if (copyLost)
        return CopyLost;
    return warnings.empty() ? EveryFileAddressed : ServerWarned;
}

} // namespace address

#include "cli/address_command.h"

#include "cli/address_arguments.h"
#include "cli/desktop_notification.h"
#include "cli/exit_status.h"
#include "cli/file_address.h"
#include "cli/kept_copy.h"
#include "encoding/utf8.h"
#include "paths/program_path.h"
#include "paths/resolved_path.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace cli {
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

// The folder given, as the program names its own: real, in the program's form.
std::optional<std::u16string> NamedProgramFolder(const AddressArguments& arguments) {
    if (!arguments.folder)
        return std::nullopt;
    return mdCode::ToProgramForm(mdCode::RealPath(*arguments.folder, mdCode::CurrentFolder()));
}

} // namespace

int RunAddressCommand(int argc, char** argv) {
    AddressArguments arguments;
    try {
        arguments = ParseAddressArguments({argv + std::min(argc, 1), argv + argc});
    } catch (const UsageError& error) {
        Complain(error.what());
        std::fputs("Essayez « lirvane-address --help ».\n", stderr);
        return WrongUsage;
    }
    if (arguments.help) {
        std::fputs(Usage, stdout);
        return EveryFileAddressed;
    }

    const std::optional<std::u16string> folder = NamedProgramFolder(arguments);
    const mdCode::AddressRule rule =
        arguments.plain ? mdCode::PlainFileAddress : mdCode::FileAddress;
    // The lines as the address box would hold them, for the clipboard.
    std::u16string box;
    std::vector<std::u16string> addresses;
    std::vector<std::string> failures;
    for (const std::string& file : arguments.files) {
        const AddressOrFailure result = AddressOfFile(file, folder, rule);
        if (result.address) {
            std::fputs((mdCode::ToUtf8(*result.address) + "\n").c_str(), stdout);
            box = mdCode::AppendAddress(std::move(box), *result.address);
            addresses.push_back(*result.address);
        } else {
            Complain(result.failure);
            failures.push_back(result.failure);
        }
    }
    std::fflush(stdout);
    const bool copyLost = arguments.copy && !box.empty() && !CopyAndKeep(box, argv[0]);
    if (copyLost)
        Complain(CopyLostMessage);
    if (arguments.notify)
        NotifyOutcome(addresses, failures, copyLost);
    if (!failures.empty())
        return SomeFilesFailed;
    return copyLost ? CopyLost : EveryFileAddressed;
}

} // namespace cli

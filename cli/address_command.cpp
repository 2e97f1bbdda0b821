#include "cli/address_command.h"

#include "cli/address_arguments.h"
#include "cli/exit_status.h"
#include "cli/file_address.h"
#include "cli/kept_copy.h"
#include "encoding/utf8.h"
#include "paths/program_path.h"
#include "paths/resolved_path.h"

#include <algorithm>
#include <cstdio>

namespace cli {
namespace {

void Complain(const std::string& message) {
    std::fputs(("lirvane-address : " + message + "\n").c_str(), stderr);
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
    bool someFailed = false;
    for (const std::string& file : arguments.files) {
        const AddressOrFailure result = AddressOfFile(file, folder, rule);
        if (result.address) {
            std::fputs((mdCode::ToUtf8(*result.address) + "\n").c_str(), stdout);
            box = mdCode::AppendAddress(std::move(box), *result.address);
        } else {
            Complain(result.failure);
            someFailed = true;
        }
    }
    std::fflush(stdout);
    if (arguments.copy && !box.empty() && !CopyAndKeep(box, argv[0])) {
        Complain("la copie n'a pas pu être conservée après la fin de la commande : elle est "
                 "perdue.");
        if (!someFailed)
            return CopyLost;
    }
    return someFailed ? SomeFilesFailed : EveryFileAddressed;
}

} // namespace cli

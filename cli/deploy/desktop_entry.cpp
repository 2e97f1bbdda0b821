#include "cli/deploy/desktop_entry.h"

#include "cli/deploy/entry_names.h"
#include "settings/folder_files.h"

namespace deploy {
namespace {

// The entry's command line for the program. GIO looks for the Exec line's program before it
// turns "%%" into "%", so a program path holding a "%" is handed to sh as an argument instead.
std::string ExecLine(const std::string& program) {
    if (program.find('%') != std::string::npos)
        return "sh -c " + ExecArgument(R"(exec "$0" "$@")") + " " + ExecArgument(program) + " %f";
    return ExecArgument(program) + " %f";
}

} // namespace

std::string Replaced(const std::string& text, char character, const std::string& replacement) {
    std::string result;
    for (const char each : text)
        result += each == character ? replacement : std::string(1, each);
    return result;
}

std::string EntryString(const std::string& value) {
    return Replaced(value, '\\', "\\\\");
}

std::string ExecArgument(std::string value) {
    for (const char special : {'\\', '"', '`', '$'})
        value = Replaced(value, special, std::string{'\\', special});
    return EntryString("\"" + Replaced(value, '%', "%%") + "\"");
}

std::string LauncherEntry(const std::string& folder) {
    const std::string program = folder + "/" + mdCode::ProgramFileName;
    std::string entry = "[Desktop Entry]\nType=Application\n";
    entry += "Name=Lirvane – " + EntryString(FolderDisplayName(folder)) + "\n";
    entry += "Comment=Adresse web d'un fichier de " + EntryString(folder) + "\n";
    entry += "Icon=lirvane\n";
    entry += "TryExec=" + EntryString(program) + "\n";
    entry += "Exec=" + ExecLine(program) + "\n";
    entry += "MimeType=application/octet-stream;text/plain;\nCategories=Utility;\nTerminal=false\n";
    return entry;
}

} // namespace deploy

#include "forms/app.h"

#include "forms/application.h"
#include "forms/qt_text.h"
#include "forms/version.h"
#include "paths/program_path.h"
#include "paths/resolved_path.h"

#include <QCoreApplication>
#include <QFile>
#include <filesystem>

namespace forms::App {
namespace {

std::optional<Setting>& Overridden() {
    static std::optional<Setting> setting;
    return setting;
}

// The real folder of the executable, as native bytes: the system gives its path with every link
// resolved and every byte kept.
std::string ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    return executable.parent_path().string();
}

} // namespace

std::u16string Path() {
    if (Overridden())
        return Overridden()->path;
    return mdCode::ToProgramForm(ExecutableFolder());
}

std::u16string Command() {
    if (Overridden())
        return Overridden()->command;
    const std::vector<std::string>& arguments = Application::UserArguments();
    if (arguments.empty())
        return {};
    // An unquoted name with blanks arrives as several arguments: together they are one path.
    std::string joined = arguments.front();
    for (auto argument = arguments.begin() + 1; argument != arguments.end(); ++argument)
        joined += ' ' + *argument;
    return mdCode::ToProgramForm(mdCode::ResolvedPath(joined, mdCode::CurrentFolder()));
}

int Major() {
    return version::Major;
}
int Minor() {
    return version::Minor;
}
int Revision() {
    return version::Revision;
}

void Override(std::optional<Setting> setting) {
    Overridden() = std::move(setting);
}

} // namespace forms::App

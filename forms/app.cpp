#include "forms/app.h"

#include "forms/application.h"
#include "forms/qt_text.h"
#include "forms/version.h"
#include "paths/program_path.h"
#include "paths/resolved_path.h"

#include <QCoreApplication>
#include <QFile>

namespace forms::App {
namespace {

std::optional<Setting>& Overridden() {
    static std::optional<Setting> setting;
    return setting;
}

std::string ExecutableFolder() {
    return mdCode::ExecutableFolder().value_or(
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());
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
    return mdCode::ToProgramForm(
        mdCode::ResolvedPath(joined, mdCode::CurrentFolder(), mdCode::ToNativeBytes(Path())));
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

#include "forms/app.h"

#include "forms/qt_text.h"
#include "forms/version.h"
#include "settings/program_path.h"

#include <QCoreApplication>
#include <QStringList>

namespace forms::App {
namespace {

std::optional<Setting>& Overridden() {
    static std::optional<Setting> setting;
    return setting;
}

} // namespace

std::u16string Path() {
    if (Overridden())
        return Overridden()->path;
    return mdCode::ToProgramForm(FromQString(QCoreApplication::applicationDirPath()));
}

std::u16string Command() {
    if (Overridden())
        return Overridden()->command;
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    return mdCode::ToProgramForm(FromQString(arguments.join(u' ')));
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

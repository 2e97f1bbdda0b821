#include "forms/shell_open.h"

#include "forms/qt_text.h"

#include <QDesktopServices>
#include <QUrl>

namespace forms {

void ShellOpen(const std::u16string& address) {
    QDesktopServices::openUrl(QUrl(ToQString(address)));
}

} // namespace forms

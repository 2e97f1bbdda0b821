#include "desktop/link_opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace desktop {

void ShellOpen(const std::u16string& address) {
    QDesktopServices::openUrl(QUrl(QString::fromStdU16String(address)));
}

} // namespace desktop

#include "cli/address/kept_copy.h"

#include "desktop/clipboard_after_exit.h"
#include "desktop/detached_start.h"
#include "desktop/wayland_data_control.h"
#include "desktop/wl_copy.h"
#include "forms/clipboard.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

namespace address {
namespace {

int& StatusWithoutDesktop() {
    static int status = 0;
    return status;
}

// Qt ends the process when it cannot join a desktop; the user is told so in French, and the exit
// status says why the command failed.
void EndWhenNoDesktop(QtMsgType type, const QMessageLogContext&, const QString&) {
    if (type != QtFatalMsg)
        return;
    std::fflush(stdout);
    std::fputs("lirvane-address : aucun bureau ne répond (DISPLAY, WAYLAND_DISPLAY) : "
               "les lignes ne sont pas copiées.\n",
               stderr);
    std::_Exit(StatusWithoutDesktop());
}

} // namespace

bool CopyAndKeep(const std::u16string& text, char* programName, int statusWithoutDesktop) {
    StatusWithoutDesktop() = statusWithoutDesktop;
    qInstallMessageHandler(EndWhenNoDesktop);
    int argc = 1;
    char* argv[] = {programName, nullptr};
    const QGuiApplication application(argc, argv);
    // A Wayland compositor gives the clipboard only to the client that has the keyboard focus,
    // which a command without a window never has: wl-copy takes it through the data-control
    // protocol, as it keeps the program's copy.
    if (QGuiApplication::platformName().startsWith(u"wayland"))
        return desktop::CompositorOffersDataControl() &&
               desktop::StartDetached(
                   desktop::WlCopyCommand(QString::fromStdU16String(text).toUtf8()));
    forms::Clipboard::SetText(text);
    return desktop::KeepClipboardAfterExit();
}

} // namespace address

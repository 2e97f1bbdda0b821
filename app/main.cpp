#include "app/product.h"
#include "desktop/clipboard_after_exit.h"
#include "desktop/plugin_lockdown.h"
#include "desktop/x11_clipboard_keeper.h"
#include "forms/application.h"
#include "forms/form.h"
#include "forms/msg_box.h"
#include "forms/qt_text.h"
#include "ui/main/main_window.h"

#include <QIcon>
#include <QTimer>

int main(int argc, char* argv[]) {
    desktop::LoadPluginsOnlyFromTheSystem();
    if (desktop::TakeClipboardKeeperMode())
        return desktop::RunClipboardKeeper(argc, argv);

    forms::Application application(argc, argv);
    QApplication::setApplicationName(forms::ToQString(std::u16string(product::Name)));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/main_window.png")));

    // The main window loads inside the event loop, so that a failure while loading is reported
    // like any other.
    QTimer::singleShot(0, &application, [] { forms::Form::Show<frmMain>(); });
    const int exitCode = QApplication::exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (!desktop::KeepClipboardAfterExit())
        forms::MsgBox(u"La copie n'a pas pu être conservée après la fermeture du programme : "
                      u"elle est perdue.",
                      forms::vbCritical, std::u16string(product::Name));
    return exitCode;
}

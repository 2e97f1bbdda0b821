#include "app/product.h"
#include "forms/application.h"
#include "forms/clipboard_keeper.h"
#include "forms/form.h"
#include "forms/plugin_folders.h"
#include "forms/qt_text.h"
#include "ui/main/main_window.h"

#include <QIcon>
#include <QTimer>

int main(int argc, char* argv[]) {
    forms::LoadPluginsOnlyFromTheSystem();
    if (forms::TakeClipboardKeeperMode())
        return forms::RunClipboardKeeper(argc, argv);

    forms::Application application(argc, argv);
    QApplication::setApplicationName(forms::ToQString(std::u16string(product::Name)));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/main_window.png")));

    // The main window loads inside the event loop, so that a failure while loading is reported
    // like any other.
    QTimer::singleShot(0, &application, [] { forms::Form::Show<frmMain>(); });
    const int exitCode = QApplication::exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    forms::KeepClipboardAfterExit();
    return exitCode;
}

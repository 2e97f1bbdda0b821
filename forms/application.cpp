#include "forms/application.h"

#include "encoding/utf8.h"
#include "forms/accessible_roles.h"
#include "forms/form.h"
#include "forms/msg_box.h"
#include "forms/qt_text.h"

#include <algorithm>
#include <exception>

namespace forms {

Application::Application(int argc, char** argv) : QApplication(programNameOnly_, argv) {
    userArguments_.assign(argv + std::min(argc, 1), argv + argc);
    // The program ends when its last form is unloaded, not when its last window closes.
    setQuitOnLastWindowClosed(false);
    InstallAccessibleRoles();
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        const Form::EventScope scope(receiver);
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ReportRunTimeError(mdCode::FromUtf8(error.what()));
    } catch (...) {
        ReportRunTimeError(u"Erreur inconnue.");
    }
    return false;
}

void ReportRunTimeError(const std::u16string& message) {
    MsgBox(u"Erreur d'exécution :\n\n" + message, vbCritical,
           FromQString(QCoreApplication::applicationName()));
    EndProgram(1);
}

} // namespace forms

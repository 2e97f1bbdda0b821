#include "running_program.h"

#include "forms/app.h"
#include "forms/form.h"
#include "forms/msg_box.h"
#include "forms/qt_text.h"
#include "settings/program_path.h"
#include "ui/main/main_window.h"

#include <QCoreApplication>
#include <QFile>
#include <stdexcept>

RunningProgram::RunningProgram(const QByteArray& baseUrl, const std::vector<QString>& files) {
    if (!folder_.isValid())
        throw std::runtime_error("no temporary program folder");
    CreateFile(QStringLiteral("PARAM.ini"), baseUrl + "\r\n");
    for (const QString& name : files)
        CreateFile(name, {});

    forms::SetMsgBoxHandler([this](const std::u16string& text, int, const std::u16string&) {
        troubles_.push_back(QStringLiteral("message box: ") + forms::ToQString(text));
    });
    forms::SetEndAction([this](int exitCode) {
        troubles_.push_back(QStringLiteral("program ended with code %1").arg(exitCode));
    });
    const auto programFolder = mdCode::ToProgramForm(forms::FromQString(folder_.path()));
    forms::App::Override(forms::App::Setting{programFolder, u""});
    forms::Form::Show<frmMain>();
    Settle();
}

RunningProgram::~RunningProgram() {
    forms::EndProgram(0);
    Settle();
    forms::SetMsgBoxHandler({});
    forms::SetEndAction({});
    forms::App::Override(std::nullopt);
}

QString RunningProgram::NativePath(const QString& name) const {
    return folder_.filePath(name);
}

frmMain* RunningProgram::Window() const {
    return forms::Form::Loaded<frmMain>();
}

QString RunningProgram::Trouble() const {
    return troubles_.empty() ? QString() : troubles_.front();
}

void RunningProgram::Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void RunningProgram::CreateFile(const QString& name, const QByteArray& content) {
    QFile file(NativePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        throw std::runtime_error("cannot write " + name.toStdString());
}

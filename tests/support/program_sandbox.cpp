#include "support/program_sandbox.h"

#include "forms/app.h"
#include "forms/form.h"
#include "forms/msg_box.h"
#include "forms/qt_text.h"
#include "paths/program_path.h"
#include "ui/main/main_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <stdexcept>

ProgramSandbox::ProgramSandbox() {
    if (!folder_.isValid())
        throw std::runtime_error("no temporary program folder");
    // Published, as a web folder is: the web server may enter it.
    QFile::setPermissions(folder_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                              QFile::ReadOther | QFile::ExeOther);
    forms::SetMsgBoxHandler(
        [this](const std::u16string& text, int flags, const std::u16string& title) {
            messages.push_back({text, flags, title});
        });
    forms::SetEndAction([this](int exitCode) { endCodes.push_back(exitCode); });
    forms::App::Override(forms::App::Setting{ProgramFolder(), u""});
}

ProgramSandbox::~ProgramSandbox() {
    End();
    forms::SetMsgBoxHandler({});
    forms::SetEndAction({});
    forms::App::Override(std::nullopt);
}

std::u16string ProgramSandbox::ProgramFolder() const {
    return mdCode::ToProgramForm(QFile::encodeName(folder_.path()).toStdString());
}

QString ProgramSandbox::NativePath(const QString& name) const {
    return folder_.filePath(name);
}

void ProgramSandbox::CreateFile(const QString& name, const QByteArray& content) {
    QFile file(NativePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        throw std::runtime_error("cannot write " + name.toStdString());
}

void ProgramSandbox::CreateFolder(const QString& name) {
    if (!QDir(folder_.path()).mkpath(name))
        throw std::runtime_error("cannot create " + name.toStdString());
}

void ProgramSandbox::Start(const std::u16string& commandLine) {
    forms::App::Override(forms::App::Setting{ProgramFolder(), commandLine});
    forms::Form::Show<frmMain>();
    Settle();
}

void ProgramSandbox::End() {
    if (!forms::Form::LoadedForms().empty())
        forms::EndProgram(0);
    Settle();
}

void ProgramSandbox::Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

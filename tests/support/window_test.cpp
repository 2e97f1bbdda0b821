#include "support/window_test.h"

#include "app/base_url.h"
#include "forms/app.h"
#include "forms/clipboard.h"
#include "forms/msg_box.h"
#include "forms/qt_text.h"
#include "settings/program_path.h"
#include "ui/main/main_window.h"
#include "ui/settings/settings_window.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

void WindowTest::SetUp() {
    ASSERT_TRUE(folder_.isValid());
    BaseUrl.clear();
    forms::Clipboard::Clear();
    forms::SetMsgBoxHandler(
        [this](const std::u16string& text, int flags, const std::u16string& title) {
            messages.push_back({text, flags, title});
        });
    forms::SetEndAction([this](int exitCode) { endCodes.push_back(exitCode); });
    forms::App::Override(forms::App::Setting{ProgramFolder(), u""});
}

void WindowTest::TearDown() {
    forms::EndProgram(0);
    Settle();
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_FALSE(window->isVisible()) << "left open: " << window->windowTitle().toStdString();
    forms::SetMsgBoxHandler({});
    forms::SetEndAction({});
    forms::App::Override(std::nullopt);
}

std::u16string WindowTest::ProgramFolder() const {
    return mdCode::ToProgramForm(forms::FromQString(folder_.path()));
}

QString WindowTest::NativePath(const QString& name) const {
    return folder_.filePath(name);
}

void WindowTest::CreateFile(const QString& name, const QByteArray& content) {
    QFile file(NativePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
    file.write(content);
}

void WindowTest::CreateFolder(const QString& name) {
    ASSERT_TRUE(QDir(folder_.path()).mkpath(name));
}

void WindowTest::WriteSettings(const QByteArray& content) {
    CreateFile("PARAM.ini", content);
}

QByteArray WindowTest::SettingsBytes() const {
    QFile file(NativePath("PARAM.ini"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WindowTest::Start(const std::u16string& commandLine) {
    forms::App::Override(forms::App::Setting{ProgramFolder(), commandLine});
    forms::Form::Show<frmMain>();
    Settle();
}

void WindowTest::Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList WindowTest::ListedFiles() {
    QStringList names;
    for (int index = 0; index < Main().File1->count(); ++index)
        names << forms::ToQString(Main().File1->List(index));
    return names;
}

void WindowTest::Click(QWidget& control) {
    QTest::mouseClick(&control, Qt::LeftButton);
    Settle();
}

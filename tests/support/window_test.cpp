#include "support/window_test.h"

#include "app/base_url.h"
#include "forms/clipboard.h"
#include "forms/qt_text.h"
#include "ui/main/main_window.h"
#include "ui/settings/settings_window.h"

#include <QApplication>
#include <QFile>
#include <QTest>

void WindowTest::SetUp() {
    BaseUrl.clear();
    forms::Clipboard::Clear();
}

void WindowTest::TearDown() {
    program_.End();
    for (QWidget* window : QApplication::topLevelWidgets())
        EXPECT_FALSE(window->isVisible()) << "left open: " << window->windowTitle().toStdString();
}

QByteArray WindowTest::SettingsBytes() const {
    QFile file(NativePath("PARAM.ini"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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

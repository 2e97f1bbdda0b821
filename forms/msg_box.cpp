#include "forms/msg_box.h"

#include "forms/qt_text.h"

#include <QApplication>
#include <QMessageBox>

namespace forms {
namespace {

MsgBoxHandler& Handler() {
    static MsgBoxHandler handler;
    return handler;
}

void ShowDialog(const std::u16string& text, int flags, const std::u16string& title) {
    const QMessageBox::Icon icon =
        flags == vbCritical ? QMessageBox::Critical : QMessageBox::Information;
    QMessageBox box(icon, ToQString(title), ToQString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace

void MsgBox(const std::u16string& text, int flags, const std::u16string& title) {
    if (Handler())
        Handler()(text, flags, title);
    else
        ShowDialog(text, flags, title);
}

void SetMsgBoxHandler(MsgBoxHandler handler) {
    Handler() = std::move(handler);
}

} // namespace forms

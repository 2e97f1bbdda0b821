#include "forms/msg_box.h"

#include "forms/qt_text.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <optional>

namespace forms {
namespace {

MsgBoxHandler& Handler() {
    static MsgBoxHandler handler;
    return handler;
}

std::optional<int>& NextAnswer() {
    static std::optional<int> answer;
    return answer;
}

QMessageBox::Icon IconOf(int flags) {
    if (flags & vbQuestion)
        return QMessageBox::Question;
    return (flags & vbCritical) ? QMessageBox::Critical : QMessageBox::Information;
}

int ShowDialog(const std::u16string& text, int flags, const std::u16string& title) {
    const bool question = flags & vbYesNo;
    QMessageBox box(IconOf(flags), ToQString(title), ToQString(text),
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    QApplication::activeWindow());
    if (question) {
        box.button(QMessageBox::Yes)->setText(QStringLiteral("&Oui"));
        box.button(QMessageBox::No)->setText(QStringLiteral("&Non"));
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    }
    box.setWindowModality(Qt::ApplicationModal);
    const int chosen = box.exec();
    if (!question)
        return vbOK;
    return chosen == QMessageBox::Yes ? vbYes : vbNo;
}

} // namespace

int MsgBox(const std::u16string& text, int flags, const std::u16string& title) {
    if (!Handler())
        return ShowDialog(text, flags, title);
    Handler()(text, flags, title);
    if (!(flags & vbYesNo))
        return vbOK;
    const int answer = NextAnswer().value_or(vbYes);
    NextAnswer().reset();
    return answer;
}

void SetMsgBoxHandler(MsgBoxHandler handler) {
    Handler() = std::move(handler);
}

void SetNextAnswer(int answer) {
    NextAnswer() = answer;
}

} // namespace forms

#include "forms/text_boxes.h"

#include "forms/focus_frame.h"
#include "forms/qt_text.h"

#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <limits>

namespace forms {

MultiLineTextBox::MultiLineTextBox(QWidget* parent)
    : QPlainTextEdit(parent), drops_(new FileDropFilter(*viewport())) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves on to the next control, as in every other box of the windows.
    setTabChangesFocus(true);
    new FocusFrame(*this);
}

std::u16string MultiLineTextBox::Text() const {
    // Block by block: toPlainText() would turn no-break spaces into plain ones.
    QString text;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block != document()->begin())
            text += u"\r\n";
        text += block.text();
    }
    return FromQString(text);
}

void MultiLineTextBox::SetText(const std::u16string& text) {
    setPlainText(ToQString(text));
}

void MultiLineTextBox::AppendLine(const std::u16string& text) {
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.beginEditBlock();
    if (!document()->isEmpty())
        end.insertBlock();
    end.insertText(ToQString(text));
    end.endEditBlock();
}

TextBox::TextBox(QWidget* parent, const std::u16string& text) : QLineEdit(parent) {
    // No length limit: Qt's default of 32767 characters would cut a long text.
    setMaxLength(std::numeric_limits<int>::max());
    setText(ToQString(text));
}

std::u16string TextBox::Text() const {
    return FromQString(text());
}

void TextBox::SetText(const std::u16string& text) {
    setText(ToQString(text));
}

void TextBox::SetSelStart(int position) {
    setCursorPosition(position);
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    const auto keyDown = [this](int& KeyCode, Qt::KeyboardModifiers Shift) {
        emit KeyDown(KeyCode, Shift);
    };
    if (!KeptByKeyDown(*event, keyDown))
        QLineEdit::keyPressEvent(event);
}

} // namespace forms

#include "forms/text_boxes.h"

#include "address/address_composition.h"
#include "forms/focus_frame.h"
#include "forms/qt_text.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <limits>

namespace forms {
namespace {

// Qt's text stands for a break between paragraphs with U+2029 and for a break inside one
// (Shift+Enter) with U+2028; the box's text has CR LF for both.
QString WithCrLf(QString text) {
    return text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"))
        .replace(QChar::LineSeparator, QStringLiteral("\r\n"));
}

} // namespace

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
    return FromQString(WithCrLf(std::move(text)));
}

void MultiLineTextBox::SetText(const std::u16string& text) {
    setPlainText(ToQString(text));
}

void MultiLineTextBox::AppendLine(const std::u16string& text) {
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    // isEmpty() tells whether Text() is "" without reading the box back.
    const std::u16string_view lineBreak = mdCode::LineBreakBefore(document()->isEmpty());
    end.insertText(ToQString(std::u16string(lineBreak) + text));
}

void MultiLineTextBox::keyPressEvent(QKeyEvent* event) {
    if (!event->matches(QKeySequence::InsertLineSeparator)) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    // Shift+Enter does what Enter does: a new paragraph, not a break inside this one.
    QKeyEvent enter(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier,
                    event->text(), event->isAutoRepeat(), event->count());
    QPlainTextEdit::keyPressEvent(&enter);
    event->setAccepted(enter.isAccepted());
}

// The selection as plain text, for the box's own copy, cut and drag.
QMimeData* MultiLineTextBox::createMimeDataFromSelection() const {
    auto* data = new QMimeData;
    data->setText(WithCrLf(textCursor().selectedText()));
    return data;
}

// Qt turns CR, LF and U+2029 of inserted text into paragraphs, but keeps U+2028 inside one.
void MultiLineTextBox::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QMimeData paragraphs;
    paragraphs.setText(source->text().replace(QChar::LineSeparator, QChar::ParagraphSeparator));
    QPlainTextEdit::insertFromMimeData(&paragraphs);
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

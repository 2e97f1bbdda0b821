#pragma once

#include "forms/dropped_files.h"
#include "forms/key_down.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <string>

namespace forms {

// A multi-line box whose text has CR LF between lines; both scroll bars, no wrapping; a frame
// shows its focus. Every line break, however typed or pasted, is a break between paragraphs,
// and every copy of the box's text has CR LF there.
// Drags carrying files go to Drops(); nothing is ever inserted by a drop itself.
class MultiLineTextBox final : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit MultiLineTextBox(QWidget* parent);

    std::u16string Text() const;
    void SetText(const std::u16string& text);
    // Adds the text as the last line, as mdCode::AppendAddress adds it to the box's text.
    // Only the end of the box is edited, in one step that undo takes back.
    void AppendLine(const std::u16string& text);

    FileDropFilter& Drops() { return *drops_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    FileDropFilter* drops_;
};

// A single-line text box without a length limit. KeyDown runs before the box handles a key; a
// handler that sets the key code to 0 keeps the key from the box.
class TextBox final : public QLineEdit {
    Q_OBJECT

public:
    explicit TextBox(QWidget* parent, const std::u16string& text);

    std::u16string Text() const;
    void SetText(const std::u16string& text);
    // Puts the caret at this character position, with nothing selected.
    void SetSelStart(int position);
    void SetFocus() { setFocus(Qt::OtherFocusReason); }

signals:
    void KeyDown(int& KeyCode, Qt::KeyboardModifiers Shift);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace forms

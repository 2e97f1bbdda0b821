#pragma once

#include <QFont>
#include <QLabel>
#include <QPushButton>
#include <string>

namespace forms {

struct FontStyle {
    const char16_t* face;
    double points;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

// The font for a face the windows were designed with; a face this system lacks is replaced by
// one of the same kind and similar width.
QFont MakeFont(const FontStyle& style);

// Gives a control its place and font; a label's font shrinks where its caption would not fit.
void Place(QWidget& control, const QRect& pixels, const FontStyle& font);

// A push button that Enter clicks while it has the focus; no button is a window default.
class CommandButton final : public QPushButton {
    Q_OBJECT

public:
    CommandButton(QWidget* parent, const std::u16string& caption);

    // Makes Escape, anywhere in the button's window, click the button while it is enabled.
    void SetCancel();
};

// A text label.
class Label : public QLabel {
    Q_OBJECT

public:
    Label(QWidget* parent, const std::u16string& caption);

    // Makes the label the control's caption for assistive tools: the control is named by the
    // label's text, and each is linked to the other.
    void LabelFor(QWidget& control);
};

} // namespace forms

#include "forms/controls.h"

#include "forms/qt_text.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QShortcut>

namespace forms {
namespace {

// Faces from Windows that Linux lacks, and metric-compatible stand-ins from Debian's fonts. The
// installed families are listed once: asking the font database for one family resolves its
// aliases, which costs about a millisecond a control at start-up.
QString Face(const char16_t* face) {
    static const QStringList installed = QFontDatabase::families();
    const QString requested = QString::fromUtf16(face);
    if (installed.contains(requested))
        return requested;
    if (requested == u"MS Sans Serif" || requested == u"Arial")
        return QStringLiteral("Liberation Sans");
    return requested;
}

// The stand-in faces are wider than the faces the windows were laid out with: a caption that
// would be cut off at the requested size is shown smaller, down to a readable limit.
QFont FittedToWidth(QFont font, const QString& caption, int width) {
    constexpr double smallestPoints = 7.0;
    while (font.pointSizeF() > smallestPoints &&
           QFontMetrics(font).horizontalAdvance(caption) > width)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    return font;
}

} // namespace

QFont MakeFont(const FontStyle& style) {
    QFont font(Face(style.face));
    font.setPointSizeF(style.points);
    font.setWeight(style.bold ? QFont::Bold : QFont::Normal);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    return font;
}

void Place(QWidget& control, const QRect& pixels, const FontStyle& font) {
    control.setGeometry(pixels);
    if (const auto* label = qobject_cast<QLabel*>(&control))
        control.setFont(FittedToWidth(MakeFont(font), label->text(), pixels.width()));
    else
        control.setFont(MakeFont(font));
}

CommandButton::CommandButton(QWidget* parent, const std::u16string& caption)
    : QPushButton(ToQString(caption), parent) {
    // Outside a dialog, auto-default only means that Enter clicks the focused button.
    setAutoDefault(true);
}

void CommandButton::SetCancel() {
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    // click() does nothing while the button is disabled.
    connect(escape, &QShortcut::activated, this, &QAbstractButton::click);
}

Label::Label(QWidget* parent, const std::u16string& caption) : QLabel(ToQString(caption), parent) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void Label::LabelFor(QWidget& control) {
    setBuddy(&control);
    control.setAccessibleName(text());
}

} // namespace forms

#pragma once

#include <QColor>
#include <QFocusFrame>

class QAbstractScrollArea;

// What shows a box's focus and its selected entry, with contrast enough to be seen.
namespace forms {

// The contrast ratio of two colours, as the Web Content Accessibility Guidelines compute it:
// from 1 (the same) to 21 (black and white).
double ContrastRatio(const QColor& one, const QColor& other);

// The colour, moved towards black or white (away from `against`) until the two have at least
// the contrast ratio given.
QColor WithContrast(QColor colour, const QColor& against, double ratio);

// Draws a focus frame 2 pixels wide around the part of `area` that the window's edge and other
// controls leave visible on the widget, in the palette's highlight colour made to stand out from
// the window (3:1).
void PaintFocusFrame(QWidget& widget, const QRect& area);

// A focus frame drawn over a box while the box has the focus, around its content. Made a child
// of the box, which owns it.
class FocusFrame final : public QFocusFrame {
    Q_OBJECT

public:
    explicit FocusFrame(QAbstractScrollArea& box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QAbstractScrollArea& box_;
};

// Gives the box a highlight on which its highlighted text is readable (4.5:1 as drawn).
void MakeSelectionReadable(QAbstractScrollArea& box);

} // namespace forms

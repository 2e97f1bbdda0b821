#include "forms/focus_frame.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QPainter>
#include <cmath>

namespace forms {
namespace {

double Luminance(const QColor& colour) {
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

// A tenth of the way from the colour to the target.
QColor Towards(const QColor& colour, const QColor& target) {
    const auto step = [](int from, int to) {
        return from + (to - from + (to > from ? 9 : -9)) / 10;
    };
    return QColor(step(colour.red(), target.red()), step(colour.green(), target.green()),
                  step(colour.blue(), target.blue()));
}

} // namespace

double ContrastRatio(const QColor& one, const QColor& other) {
    const double a = Luminance(one);
    const double b = Luminance(other);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor WithContrast(QColor colour, const QColor& against, double ratio) {
    const QColor target = Luminance(against) > 0.18 ? QColor(Qt::black) : QColor(Qt::white);
    while (ContrastRatio(colour, against) < ratio && colour != target)
        colour = Towards(colour, target);
    return colour;
}

void PaintFocusFrame(QWidget& widget, const QRect& area) {
    constexpr int width = 2;
    const QPalette& palette = widget.palette();
    const QColor colour =
        WithContrast(palette.color(QPalette::Highlight), palette.color(QPalette::Window), 3.0);
    const QRect shown = widget.visibleRegion().boundingRect().intersected(area);
    QPainter painter(&widget);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRect(shown.left(), shown.top(), shown.width(), width);
    painter.drawRect(shown.left(), shown.bottom() - width + 1, shown.width(), width);
    painter.drawRect(shown.left(), shown.top(), width, shown.height());
    painter.drawRect(shown.right() - width + 1, shown.top(), width, shown.height());
}

FocusFrame::FocusFrame(QAbstractScrollArea& box) : QFocusFrame(&box), box_(box) {
    // Drops go to the box beneath.
    setAttribute(Qt::WA_AcceptDrops, false);
    hide();
    box.installEventFilter(this);
}

bool FocusFrame::eventFilter(QObject*, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        setGeometry(box_.rect());
        raise();
        show();
    } else if (event->type() == QEvent::FocusOut) {
        hide();
    }
    return false;
}

void FocusFrame::paintEvent(QPaintEvent*) {
    PaintFocusFrame(*this, box_.viewport()->geometry());
}

void MakeSelectionReadable(QAbstractScrollArea& box) {
    // The drawn entry must show 4.5:1. Styles such as Fusion draw the selection as a gradient
    // and blend the text a little into it, which loses about a tenth of the ratio.
    constexpr double ratio = 5.0;
    QPalette palette = box.palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight,
                         WithContrast(palette.color(group, QPalette::Highlight),
                                      palette.color(group, QPalette::HighlightedText), ratio));
    }
    box.setPalette(palette);
}

} // namespace forms

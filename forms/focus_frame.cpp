#include "forms/focus_frame.h"

#include <QAbstractScrollArea>
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

double Contrast(const QColor& one, const QColor& other) {
    const double a = Luminance(one);
    const double b = Luminance(other);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
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

QColor WithContrast(QColor colour, const QColor& against, double ratio) {
    const QColor target = Luminance(against) > 0.18 ? QColor(Qt::black) : QColor(Qt::white);
    while (Contrast(colour, against) < ratio && colour != target)
        colour = Towards(colour, target);
    return colour;
}

void PaintFocusFrame(QAbstractScrollArea& box) {
    if (!box.hasFocus())
        return;
    const QPalette& palette = box.palette();
    const QColor colour =
        WithContrast(palette.color(QPalette::Highlight), palette.color(QPalette::Window), 3.0);
    const int width = std::max(box.frameWidth(), 1);
    QPainter painter(&box);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const QRect outer = box.rect();
    painter.drawRect(outer.left(), outer.top(), outer.width(), width);
    painter.drawRect(outer.left(), outer.bottom() - width + 1, outer.width(), width);
    painter.drawRect(outer.left(), outer.top(), width, outer.height());
    painter.drawRect(outer.right() - width + 1, outer.top(), width, outer.height());
}

void MakeSelectionReadable(QAbstractScrollArea& box) {
    QPalette palette = box.palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight,
                         WithContrast(palette.color(group, QPalette::Highlight),
                                      palette.color(group, QPalette::HighlightedText), 4.5));
    }
    box.setPalette(palette);
}

} // namespace forms

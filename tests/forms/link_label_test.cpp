#include "forms/link_label.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

void SendMouse(QWidget& widget, QEvent::Type type, QPoint at) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget.mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

struct ReleaseCase {
    const char* where;
    QPoint (*point)(const QRect& link);
    int clicks;
};

// As with a button, a press on the link opens it only when the button is let go on the link.
TEST(LinkLabelTest, OpensOnlyWhenTheButtonIsReleasedOnIt) {
    const ReleaseCase cases[] = {
        {"on the link", [](const QRect& link) { return link.center(); }, 1},
        {"right of it", [](const QRect& link) { return link.topRight() + QPoint(20, 0); }, 0},
        {"below it", [](const QRect& link) { return link.bottomLeft() + QPoint(0, 20); }, 0},
        {"above it", [](const QRect& link) { return link.topLeft() - QPoint(0, 20); }, 0},
    };
    for (const ReleaseCase& c : cases) {
        forms::LinkLabel link(nullptr, u"www.example.org");
        link.resize(120, 20);
        QSignalSpy clicked(&link, &forms::LinkLabel::Click);
        const QPoint released = c.point(link.rect());
        SendMouse(link, QEvent::MouseButtonPress, link.rect().center());
        SendMouse(link, QEvent::MouseMove, released);
        SendMouse(link, QEvent::MouseButtonRelease, released);
        EXPECT_EQ(clicked.count(), c.clicks) << c.where;
    }
}

} // namespace

#pragma once

#include "forms/controls.h"

#include <string>

namespace forms {

// A label that acts as a link: a click, or Enter or Space while it has the focus, reports
// Click. Tab reaches it; a frame shows its focus. Assistive tools see a link that they can press.
class LinkLabel final : public Label {
    Q_OBJECT

public:
    LinkLabel(QWidget* parent, const std::u16string& caption);

signals:
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace forms

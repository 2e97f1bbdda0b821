#include "forms/do_events.h"

#include <QCoreApplication>

namespace forms {

void DoEvents() {
    QCoreApplication::processEvents();
}

} // namespace forms

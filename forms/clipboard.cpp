#include "forms/clipboard.h"

#include "forms/qt_text.h"

#include <QClipboard>
#include <QGuiApplication>

namespace forms::Clipboard {

void Clear() {
    QGuiApplication::clipboard()->clear();
}

void SetText(const std::u16string& text) {
    QGuiApplication::clipboard()->setText(ToQString(text));
}

std::u16string GetText() {
    return FromQString(QGuiApplication::clipboard()->text());
}

} // namespace forms::Clipboard

#include "forms/clipboard.h"

#include "forms/qt_text.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPointer>
#include <atomic>

namespace forms::Clipboard {
namespace {

// Text on the clipboard that records whether its data was asked for: the window system's
// plugin asks for it whenever another program pastes or keeps a copy.
class CopiedText final : public QMimeData {
public:
    explicit CopiedText(const QString& text) {
        setText(text);
        // Qt's Wayland plugin would otherwise add this format by reading the text itself.
        setData(QStringLiteral("text/plain;charset=utf-8"), text.toUtf8());
    }

    bool wasRead() const { return read_; }

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override {
        read_ = true;
        return QMimeData::retrieveData(mimeType, type);
    }

private:
    mutable std::atomic_bool read_ = false;
};

// The clipboard owns and deletes it once replaced; the pointer then becomes null.
QPointer<CopiedText>& LastSet() {
    static QPointer<CopiedText> copied;
    return copied;
}

} // namespace

void Clear() {
    QGuiApplication::clipboard()->clear();
}

void SetText(const std::u16string& text) {
    auto* copied = new CopiedText(ToQString(text));
    LastSet() = copied;
    QGuiApplication::clipboard()->setMimeData(copied);
}

std::u16string GetText() {
    return FromQString(QGuiApplication::clipboard()->text());
}

bool HoldsUnreadText() {
    const CopiedText* copied = LastSet();
    return copied && QGuiApplication::clipboard()->mimeData() == copied && !copied->wasRead();
}

} // namespace forms::Clipboard

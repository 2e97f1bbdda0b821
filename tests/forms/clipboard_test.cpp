#include "forms/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <functional>
#include <gtest/gtest.h>

namespace {

void SetCopy() {
    forms::Clipboard::SetText(u"http://example.org/tmp/a.txt");
}

// The window system's plugin hands the data to a program that pastes or keeps a copy.
void ReadByAnotherProgram() {
    (void)QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("text/plain"));
}

struct UnreadCase {
    const char* what;
    std::function<void()> afterCopy;
    bool unread;
};

TEST(ClipboardTest, KnowsWhetherItsCopyWasReadSinceItWasSet) {
    const UnreadCase cases[] = {
        {"nothing happened", [] {}, true},
        {"read by another program", ReadByAnotherProgram, false},
        {"read, then copied anew",
         [] {
             ReadByAnotherProgram();
             SetCopy();
         },
         true},
        {"read through this process", [] { (void)forms::Clipboard::GetText(); }, false},
        {"cleared", forms::Clipboard::Clear, false},
        {"replaced by a copy not made here",
         [] { QGuiApplication::clipboard()->setText(QStringLiteral("other")); }, false},
    };
    for (const UnreadCase& c : cases) {
        SetCopy();
        c.afterCopy();
        EXPECT_EQ(forms::Clipboard::HoldsUnreadText(), c.unread) << c.what;
    }
    forms::Clipboard::Clear();
}

} // namespace

#include "forms/text_boxes.h"

#include "address/address_composition.h"
#include "forms/clipboard.h"

#include <QTest>
#include <QTextCursor>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct AppendCase {
    const char* what;
    std::u16string box;
    std::u16string added;
    std::u16string after;
};

// A double-click adds its address with AppendLine, a drop its lines with AppendAddress first:
// both give the same box.
TEST(MultiLineTextBoxTest, AppendLineAddsALineBreakOnlyAfterTextAsAppendAddressDoes) {
    const AppendCase cases[] = {
        {"empty box", u"", u"a", u"a"},
        {"a box of a line break alone", u"\r\n", u"a", u"\r\n\r\na"},
        {"one line", u"x", u"a", u"x\r\na"},
        {"a last line that is empty", u"x\r\n", u"a", u"x\r\n\r\na"},
        {"several lines added", u"x\r\ny", u"a\r\nb", u"x\r\ny\r\na\r\nb"},
        {"nothing added to an empty box", u"", u"", u""},
        {"an empty line added", u"x", u"", u"x\r\n"},
        {"no-break spaces kept", u"x\u00A0", u"a\u00A0b", u"x\u00A0\r\na\u00A0b"},
    };
    for (const AppendCase& c : cases) {
        SCOPED_TRACE(c.what);
        forms::MultiLineTextBox box(nullptr);
        box.SetText(c.box);

        box.AppendLine(c.added);

        EXPECT_EQ(box.Text(), c.after);
        EXPECT_EQ(mdCode::AppendAddress(c.box, c.added), c.after);
    }
}

struct LineBreakCase {
    const char* what;
    std::function<void(QWidget&)> breakLine;
};

void Press(QWidget& box, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(&box, key, modifiers);
}

std::function<void(QWidget&)> Paste(const std::u16string& text) {
    return [text](QWidget& box) {
        forms::Clipboard::SetText(text);
        Press(box, Qt::Key_V, Qt::ControlModifier);
    };
}

// However a line is broken, the text and the box's own copy have CR LF there, and no-break
// spaces stay.
TEST(MultiLineTextBoxTest, EveryLineBreakIsCopiedAsCrLf) {
    const LineBreakCase cases[] = {
        {"Enter", [](QWidget& box) { Press(box, Qt::Key_Return); }},
        {"Shift+Enter", [](QWidget& box) { Press(box, Qt::Key_Return, Qt::ShiftModifier); }},
        {"Shift+Enter on the keypad",
         [](QWidget& box) { Press(box, Qt::Key_Enter, Qt::ShiftModifier | Qt::KeypadModifier); }},
        {"a pasted line separator", Paste(u"\u2028")},
        {"a pasted paragraph separator", Paste(u"\u2029")},
        {"a pasted LF", Paste(u"\n")},
        {"a pasted CR", Paste(u"\r")},
        {"a pasted CR LF", Paste(u"\r\n")},
    };
    for (const LineBreakCase& c : cases) {
        SCOPED_TRACE(c.what);
        forms::MultiLineTextBox box(nullptr);
        box.SetText(u"a\u00A0");
        box.moveCursor(QTextCursor::End);

        c.breakLine(box);
        QTest::keyClicks(&box, "b");

        EXPECT_EQ(box.Text(), u"a\u00A0\r\nb");
        box.selectAll();
        Press(box, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(forms::Clipboard::GetText(), u"a\u00A0\r\nb");
    }
}

TEST(MultiLineTextBoxTest, AppendLineKeepsTheCaretAndUndoTakesItBackInOneStep) {
    forms::MultiLineTextBox box(nullptr);
    box.SetText(u"first\r\nsecond");
    QTextCursor caret = box.textCursor();
    caret.setPosition(3);
    box.setTextCursor(caret);

    box.AppendLine(u"a\r\nb\r\nc");
    EXPECT_EQ(box.Text(), u"first\r\nsecond\r\na\r\nb\r\nc");
    EXPECT_EQ(box.textCursor().position(), 3);

    box.undo();
    EXPECT_EQ(box.Text(), u"first\r\nsecond");
}

} // namespace

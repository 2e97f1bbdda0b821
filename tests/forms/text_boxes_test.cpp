#include "forms/text_boxes.h"

#include <QTextCursor>
#include <gtest/gtest.h>

namespace {

struct AppendCase {
    const char* what;
    std::u16string box;
    std::u16string added;
    std::u16string after;
};

TEST(MultiLineTextBoxTest, AppendLineAddsALineBreakOnlyAfterText) {
    const AppendCase cases[] = {
        {"empty box", u"", u"a", u"a"},
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

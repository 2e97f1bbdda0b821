#include "support/window_test.h"

#include "app/base_url.h"
#include "forms/clipboard.h"
#include "ui/main/main_window.h"

// Mouse events go through the window system, which turns two quick clicks into a double-click.
#define QTEST_QPA_MOUSE_HANDLING
#include <QTest>

namespace {

class MainWindowTest : public WindowTest {
protected:
    void DoubleClick(const QString& entry) {
        frmMain& window = Window<frmMain>();
        const auto found = window.File1->findItems(entry, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << entry.toStdString();
        const QRect place = window.File1->visualItemRect(found.front());
        QTest::mouseDClick(window.File1->viewport(), Qt::LeftButton, {}, place.center());
        Settle();
    }
};

TEST_F(MainWindowTest, DoubleClickAddsTheAddressAndCopiesItAlone) {
    WriteSettings("http://example.org/tmp/\r\n");
    CreateFile("photo 1.jpg");
    CreateFile("b.txt");
    Start();

    DoubleClick("photo 1.jpg");
    EXPECT_EQ(Window<frmMain>().txtAdr->Text(), u"http://example.org/tmp/photo%201.jpg");
    EXPECT_EQ(forms::Clipboard::GetText(), u"http://example.org/tmp/photo%201.jpg");

    DoubleClick("b.txt");
    EXPECT_EQ(Window<frmMain>().txtAdr->Text(),
              u"http://example.org/tmp/photo%201.jpg\r\nhttp://example.org/tmp/b.txt");
    EXPECT_EQ(forms::Clipboard::GetText(), u"http://example.org/tmp/b.txt");
}

} // namespace

#include "forms/file_list_box.h"
#include "forms/focus_frame.h"

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QListWidgetItem>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct PaletteCase {
    const char* what;
    QColor window;
    QColor highlight;
    QColor highlightedText;
};

// The colour in the area that differs most from the one given.
QColor MostContrastingIn(const QImage& image, const QRect& area, const QColor& against) {
    QColor most = against;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (forms::ContrastRatio(pixel, against) > forms::ContrastRatio(most, against))
                most = pixel;
        }
    return most;
}

class FocusFrameTest : public ::testing::TestWithParam<PaletteCase> {
protected:
    void SetUp() override {
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::Window, GetParam().window);
        palette.setColor(QPalette::Base, GetParam().window);
        palette.setColor(QPalette::Highlight, GetParam().highlight);
        palette.setColor(QPalette::HighlightedText, GetParam().highlightedText);
        QApplication::setPalette(palette);
    }
    void TearDown() override { QApplication::setPalette(original_); }

private:
    const QPalette original_ = QApplication::palette();
};

// What the list draws: its chosen entry readable on the selection, its focus frame seen against
// the window, whatever the palette's own highlight gives.
TEST_P(FocusFrameTest, TheDrawnSelectionAndFocusFrameStandOut) {
    forms::FileListBox list(nullptr);
    // Strokes wide enough that some of their pixels have the text's own colour, not a blend.
    QFont large = list.font();
    large.setPixelSize(24);
    large.setBold(true);
    list.setFont(large);
    list.addItem(QStringLiteral("Compte rendu d'été.pdf"));
    list.addItem(QStringLiteral("index.html"));
    list.resize(320, 160);
    list.show();
    QApplication::setActiveWindow(&list);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&list));
    list.setFocus();
    list.setCurrentRow(0);
    QApplication::processEvents();

    const QImage drawn = list.grab().toImage();
    const QRect entry = list.visualItemRect(list.item(0)).translated(list.viewport()->pos());
    const QColor background = drawn.pixelColor(entry.right() - 2, entry.center().y());
    EXPECT_GE(forms::ContrastRatio(MostContrastingIn(drawn, entry, background), background), 4.5)
        << GetParam().what << ": the selection's text";
    const QRect content = list.viewport()->geometry();
    const QColor frame = drawn.pixelColor(content.left(), content.bottom() - 4);
    EXPECT_GE(forms::ContrastRatio(frame, GetParam().window), 3.0)
        << GetParam().what << ": the focus frame";
}

INSTANTIATE_TEST_SUITE_P(
    Palettes, FocusFrameTest,
    ::testing::Values(PaletteCase{"a light highlight under white text", Qt::white,
                                  QColor(0xcc, 0xdd, 0xff), Qt::white},
                      PaletteCase{"a dark highlight under black text on a dark window",
                                  QColor(0x20, 0x20, 0x20), QColor(0x30, 0x30, 0x60), Qt::black}));

} // namespace

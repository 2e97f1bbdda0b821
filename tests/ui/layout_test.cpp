#include "support/window_test.h"

#include "forms/qt_text.h"
#include "ui/main/main_window.h"
#include "ui/settings/settings_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <cstdlib>

#include <QTest>

namespace {

struct Font {
    const char16_t* face;
    double points;
    bool bold;
    bool italic = false;
    bool underline = false;
};

constexpr Font BoldText{u"MS Sans Serif", 8.25, true};

// Places and sizes in pixels: the designed twips divided by 15.
struct ControlLayout {
    const char* name;
    QWidget* control;
    QRect pixels;
    Font font;
    const char16_t* caption; // nullptr for the boxes and the list
};

// A face this system lacks stands in as Liberation Sans, metric-compatible with
// Arial.
QString Family(const char16_t* face) {
    const QString requested = QString::fromUtf16(face);
    return QFontDatabase::families().contains(requested) ? requested
                                                         : QStringLiteral("Liberation Sans");
}

QString Caption(const QWidget& control) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control))
        return button->text();
    return qobject_cast<const QLabel*>(&control)->text();
}

void ExpectLayout(const ControlLayout& c) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.control->geometry(), c.pixels);
    EXPECT_TRUE(c.control->isVisible());
    const QFont font = c.control->font();
    EXPECT_EQ(font.family(), Family(c.font.face));
    EXPECT_EQ(font.weight(), c.font.bold ? QFont::Bold : QFont::Normal);
    EXPECT_EQ(font.italic(), c.font.italic);
    EXPECT_EQ(font.underline(), c.font.underline);
    EXPECT_FALSE(font.strikeOut());
    if (c.caption != nullptr) {
        EXPECT_EQ(Caption(*c.control), QString::fromUtf16(c.caption));
    }
    if (const auto* label = qobject_cast<const QLabel*>(c.control)) {
        // A label may be shown smaller than designed, so that its whole caption
        // fits.
        EXPECT_LE(font.pointSizeF(), c.font.points);
        EXPECT_LE(QFontMetrics(font).horizontalAdvance(label->text()), c.pixels.width());
        EXPECT_FALSE(label->autoFillBackground());
    } else {
        EXPECT_DOUBLE_EQ(font.pointSizeF(), c.font.points);
    }
}

void ExpectFixedFrame(const QWidget& window, QSize client, bool minimizable) {
    EXPECT_EQ(window.size(), client);
    EXPECT_EQ(window.minimumSize(), client);
    EXPECT_EQ(window.maximumSize(), client);
    const Qt::WindowFlags flags = window.windowFlags();
    // Without the customize hint the window system would add its own buttons.
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(flags.testFlag(Qt::WindowMinimizeButtonHint), minimizable);
    // Centred on the screen, give or take the frame, whose size is known only
    // once shown.
    const QPoint offCentre =
        window.frameGeometry().center() - window.screen()->availableGeometry().center();
    const QSize frame = window.frameGeometry().size() - window.size();
    EXPECT_LE(std::abs(offCentre.x()), frame.width());
    EXPECT_LE(std::abs(offCentre.y()), frame.height());
    EXPECT_TRUE(window.windowIcon().availableSizes().contains(QSize(32, 32)));
}

// The controls the Tab key visits from the one that has the focus, ending where
// it started.
QList<QWidget*> TabCycle(int stops) {
    QList<QWidget*> visited;
    for (int stop = 0; stop < stops; ++stop) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget();
    }
    return visited;
}

class LayoutTest : public WindowTest {
protected:
};

TEST_F(LayoutTest, MainWindowPlacesFontsAndTexts) {
    WriteSettings("http://example.org/tmp/\r\n");
    Start();
    frmMain& window = Main();
    constexpr Font ButtonText{u"MS Sans Serif", 9.75, false};

    ExpectFixedFrame(window, QSize(639, 321), true);
    const ControlLayout controls[] = {
        {"txtAdr", window.txtAdr, QRect(224, 16, 417, 281), BoldText, nullptr},
        {"cmdCopy", window.cmdCopy, QRect(224, 296, 417, 25), ButtonText, u"Copier et Quitter"},
        {"cmdActu", window.cmdActu, QRect(120, 296, 105, 25), ButtonText, u"Actualiser"},
        {"cmdParam", window.cmdParam, QRect(0, 296, 121, 25), ButtonText, u"Paramètre"},
        {"File1", window.File1, QRect(0, 16, 225, 279), BoldText, nullptr},
        {"Label2", window.Label2, QRect(224, 0, 417, 17), BoldText,
         u"Url Créer, Vous pouvez aussi glisser le fichier dans le textbox."},
        {"Label1", window.Label1, QRect(0, 0, 225, 17), BoldText, u"Fichiers dans le répertoire :"},
    };
    for (const ControlLayout& c : controls)
        ExpectLayout(c);

    EXPECT_TRUE(window.Label1->alignment().testFlag(Qt::AlignHCenter));
    EXPECT_TRUE(window.Label2->alignment().testFlag(Qt::AlignHCenter));
    EXPECT_EQ(window.txtAdr->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_TRUE(window.txtAdr->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(window.txtAdr->verticalScrollBar()->isVisible());
    EXPECT_FALSE(window.txtAdr->isReadOnly());
    EXPECT_EQ(window.File1->selectionMode(), QAbstractItemView::SingleSelection);
}

TEST_F(LayoutTest, MainWindowCaptionBeforeLoading) {
    const frmMain window;
    EXPECT_EQ(forms::FromQString(window.windowTitle()),
              u"Lirvane By Odrasque ( http://www.odrasque.example/ )");
}

TEST_F(LayoutTest, MainWindowFocusStartsOnCopyAndTabVisitsEveryControl) {
    WriteSettings("http://example.org/tmp/\r\n");
    CreateFile("a.txt");
    Start();
    frmMain& window = Main();
    window.txtAdr->SetText(u"kept");

    ASSERT_EQ(QApplication::focusWidget(), window.cmdCopy);
    EXPECT_EQ(TabCycle(5), QList<QWidget*>({window.File1, window.txtAdr, window.cmdActu,
                                            window.cmdParam, window.cmdCopy}));
    EXPECT_EQ(window.txtAdr->Text(), u"kept");
}

TEST_F(LayoutTest, SettingsWindowPlacesFontsAndTexts) {
    Start();
    frmParam& window = Settings();
    constexpr Font ButtonText{u"MS Sans Serif", 13.5, true};
    constexpr Font LinkText{u"Arial", 9, true, true, true};

    EXPECT_EQ(window.windowTitle(), QStringLiteral("Paramètre"));
    ExpectFixedFrame(window, QSize(408, 111), false);
    const ControlLayout controls[] = {
        {"cmdCancel", window.cmdCancel, QRect(8, 64, 121, 25), ButtonText, u"Cancel"},
        {"txtURL", window.txtURL, QRect(8, 32, 393, 27), BoldText, nullptr},
        {"cmdSave", window.cmdSave, QRect(280, 64, 121, 25), ButtonText, u"Enregistrer"},
        {"lblSite", window.lblSite, QRect(24, 96, 361, 20), LinkText,
         u"Site Web Du Créateur: Odrasque ( http://www.odrasque.example/ )"},
        {"Label1", window.Label1, QRect(8, 8, 401, 17), BoldText,
         u"Adresse De Base. ( Exemple : http://votre_site_web/dossiertemp/ )"},
    };
    for (const ControlLayout& c : controls)
        ExpectLayout(c);

    EXPECT_EQ(window.txtURL->Text(), u"http://www.");
    EXPECT_EQ(window.lblSite->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(window.lblSite->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(LayoutTest, SettingsWindowFocusStartsInTheBoxAndTabSkipsADisabledCancel) {
    Start();
    ASSERT_EQ(QApplication::focusWidget(), Settings().txtURL);
    EXPECT_EQ(TabCycle(3),
              QList<QWidget*>({Settings().cmdSave, Settings().lblSite, Settings().txtURL}));

    Settings().Unload();
    Settle();
    WriteSettings("http://example.org/tmp/\r\n");
    Start();
    QTest::mouseClick(Main().cmdParam, Qt::LeftButton);
    Settle();
    ASSERT_EQ(QApplication::focusWidget(), Settings().txtURL);
    EXPECT_EQ(TabCycle(4), QList<QWidget*>({Settings().cmdSave, Settings().cmdCancel,
                                            Settings().lblSite, Settings().txtURL}));
}

} // namespace

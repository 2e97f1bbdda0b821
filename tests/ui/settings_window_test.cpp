#include "support/window_test.h"

#include "app/base_url.h"
#include "encoding/code_page.h"
#include "forms/app.h"
#include "forms/msg_box.h"
#include "forms/qt_text.h"
#include "ui/main/main_window.h"
#include "ui/settings/settings_window.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QUrl>
#include <functional>

#include <QTest>

namespace {

// Takes the web addresses the program hands to the desktop, instead of a browser.
class Browser final : public QObject {
    Q_OBJECT

public:
    Browser() { QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open"); }
    ~Browser() override { QDesktopServices::unsetUrlHandler(QStringLiteral("http")); }

    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.push_back(url); }
};

class SettingsWindowTest : public WindowTest {
protected:
    // Opens the settings window through the main window's button.
    void OpenFromMainWindow(const QByteArray& stored, const std::u16string& commandLine = u"") {
        WriteSettings(stored);
        Start(commandLine);
        Click(*Main().cmdParam);
    }

    void ExpectSettingsStillOpen() {
        EXPECT_EQ(forms::Form::Loaded<frmMain>(), nullptr);
        ASSERT_NE(forms::Form::Loaded<frmParam>(), nullptr);
        EXPECT_TRUE(Settings().isVisible());
        EXPECT_EQ(QApplication::focusWidget(), Settings().txtURL);
        EXPECT_TRUE(endCodes.empty());
    }

    void ExpectSavedAndBack(const QByteArray& stored) {
        EXPECT_EQ(SettingsBytes(), stored);
        EXPECT_EQ(forms::Form::Loaded<frmParam>(), nullptr);
        ASSERT_NE(forms::Form::Loaded<frmMain>(), nullptr);
        EXPECT_TRUE(Main().isVisible());
        EXPECT_EQ(forms::FromQString(Main().windowTitle()), VersionCaption);
        EXPECT_TRUE(endCodes.empty());
    }
};

// What the screen and the disk show while the confirmation is up.
struct AtConfirmation {
    bool settingsShown = false;
    std::u16string box;
    bool mainLoaded = true;
    QByteArray stored;
};

struct SaveCase {
    const char* what;
    std::u16string typed;
    std::u16string saved; // the box once saved
    QByteArray stored;
    std::u16string baseUrl; // as the main window reads it back
};

TEST_F(SettingsWindowTest, SaveStoresTheAddressWithATrailingSlashAndReturns) {
    const SaveCase cases[] = {
        {"no slash at the end", u"http://example.org/tmp", u"http://example.org/tmp/",
         "http://example.org/tmp/\r\n", u"http://example.org/tmp/"},
        {"a slash at the end", u"http://example.org/tmp/", u"http://example.org/tmp/",
         "http://example.org/tmp/\r\n", u"http://example.org/tmp/"},
        {"a backslash at the end", u"http://example.org/tmp\\", u"http://example.org/tmp\\/",
         "http://example.org/tmp\\/\r\n", u"http://example.org/tmp\\/"},
        {"letters of the code page", u"http://café.example/€", u"http://café.example/€/",
         "http://caf\xe9.example/\x80/\r\n", u"http://café.example/€/"},
        {"pasted with its line break", u"http://example.org/tmp/\n", u"http://example.org/tmp/",
         "http://example.org/tmp/\r\n", u"http://example.org/tmp/"},
        {"line breaks inside", u"http://exa\r\nmple.org/\rtmp\r\n", u"http://example.org/tmp/",
         "http://example.org/tmp/\r\n", u"http://example.org/tmp/"},
        {"a tab, a NUL and blanks around", std::u16string(u" http://x/\tb\0c/ ", 16),
         u"http://x/bc/", "http://x/bc/\r\n", u"http://x/bc/"},
    };
    AtConfirmation seen;
    forms::SetMsgBoxHandler(
        [this, &seen](const std::u16string& text, int flags, const std::u16string& title) {
            messages.push_back({text, flags, title});
            seen = {Settings().isVisible(), Settings().txtURL->Text(),
                    forms::Form::Loaded<frmMain>() != nullptr, SettingsBytes()};
        });
    for (const SaveCase& c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        endCodes.clear();
        OpenFromMainWindow("http://old.example/\r\n");
        Settings().txtURL->SetText(c.typed);

        Click(*Settings().cmdSave);

        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, u"Paramètre sauvgarder.");
        EXPECT_EQ(messages[0].flags, 64);
        EXPECT_EQ(messages[0].title, u"Save");
        EXPECT_TRUE(seen.settingsShown);
        EXPECT_EQ(seen.box, c.saved);
        EXPECT_FALSE(seen.mainLoaded);
        EXPECT_EQ(seen.stored, c.stored);
        ExpectSavedAndBack(c.stored);
        EXPECT_EQ(BaseUrl, c.baseUrl);
        Main().Unload();
        Settle();
    }
}

TEST_F(SettingsWindowTest, FirstSaveBuildsTheCommandLineAddressWithTheNewBase) {
    Start(ProgramFolder() + u"\\Mon rapport.pdf");

    QTest::keyClicks(Settings().txtURL, "exemple.fr/tmp");
    Click(*Settings().cmdSave);

    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text, u"Paramètre sauvgarder.");
    ExpectSavedAndBack("http://www.exemple.fr/tmp/\r\n");
    EXPECT_EQ(Main().txtAdr->Text(), u"http://www.exemple.fr/tmp/Mon%20rapport.pdf");
}

TEST_F(SettingsWindowTest, SavingTheInitialTextUnchangedStoresItWithASlash) {
    Start();

    Click(*Settings().cmdSave);

    ExpectSavedAndBack("http://www./\r\n");
    EXPECT_EQ(BaseUrl, u"http://www./");
}

struct Trigger {
    const char* what;
    std::function<void(frmParam&)> press;
};

const Trigger SaveTriggers[] = {
    {"the save button",
     [](frmParam& settings) { QTest::mouseClick(settings.cmdSave, Qt::LeftButton); }},
    {"Enter on the focused save button",
     [](frmParam& settings) {
         settings.cmdSave->setFocus();
         QTest::keyClick(settings.cmdSave, Qt::Key_Return);
     }},
    {"Enter", [](frmParam& settings) { QTest::keyClick(settings.txtURL, Qt::Key_Return); }},
    {"Shift+Enter",
     [](frmParam& settings) {
         QTest::keyClick(settings.txtURL, Qt::Key_Return, Qt::ShiftModifier);
     }},
    {"Ctrl+Enter",
     [](frmParam& settings) {
         QTest::keyClick(settings.txtURL, Qt::Key_Return, Qt::ControlModifier);
     }},
    {"Alt+Enter",
     [](frmParam& settings) { QTest::keyClick(settings.txtURL, Qt::Key_Return, Qt::AltModifier); }},
    {"Enter on the keypad",
     [](frmParam& settings) {
         QTest::keyClick(settings.txtURL, Qt::Key_Enter, Qt::KeypadModifier);
     }},
};

TEST_F(SettingsWindowTest, TheButtonAndEnterSaveAndEnterGoesNoFurther) {
    for (const Trigger& trigger : SaveTriggers) {
        SCOPED_TRACE(trigger.what);
        messages.clear();
        endCodes.clear();
        OpenFromMainWindow("http://old.example/\r\n");
        Settings().txtURL->SetText(u"http://new.example");
        QSignalSpy boxSawEnter(Settings().txtURL, &QLineEdit::returnPressed);

        trigger.press(Settings());
        Settle();

        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, u"Paramètre sauvgarder.");
        EXPECT_EQ(boxSawEnter.count(), 0);
        ExpectSavedAndBack("http://new.example/\r\n");
        Main().Unload();
        Settle();
    }
}

TEST_F(SettingsWindowTest, AnEmptyBoxIsRefused) {
    Start();
    for (const Trigger& trigger : SaveTriggers) {
        SCOPED_TRACE(trigger.what);
        messages.clear();
        Settings().txtURL->SetText(u"");
        Settings().cmdSave->setFocus();
        QSignalSpy boxSawEnter(Settings().txtURL, &QLineEdit::returnPressed);

        trigger.press(Settings());
        Settle();

        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, u"Vous devez marquer un url.");
        EXPECT_EQ(messages[0].flags, 16);
        EXPECT_EQ(messages[0].title, u"Erreur");
        EXPECT_EQ(boxSawEnter.count(), 0);
        EXPECT_EQ(Settings().txtURL->Text(), u"");
        EXPECT_FALSE(QFile::exists(NativePath("PARAM.ini")));
        ExpectSettingsStillOpen();
    }
}

TEST_F(SettingsWindowTest, BlanksAndControlCharactersAloneCountAsAnEmptyBox) {
    OpenFromMainWindow("http://old.example/\r\n");
    for (const std::u16string typed : {u"\r\n", u"   ", u" \t \r\n"}) {
        SCOPED_TRACE(testing::PrintToString(typed));
        messages.clear();
        Settings().txtURL->SetText(typed);

        Click(*Settings().cmdSave);

        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, u"Vous devez marquer un url.");
        EXPECT_EQ(SettingsBytes(), "http://old.example/\r\n");
        ExpectSettingsStillOpen();
    }
}

struct RefusedCase {
    const char* what;
    std::u16string typed;
    std::u16string named;
};

TEST_F(SettingsWindowTest, CharactersTheFileCannotHoldAreNamedAndNothingIsWritten) {
    const RefusedCase cases[] = {
        {"ideographs", u"http://例え.jp/", u"例 え"},
        {"an emoji, twice", u"http://x.example/😀/😀", u"😀"},
        {"with letters the file holds", u"http://café.example/€/Ω", u"Ω"},
        {"with a line break", u"http://例.jp/\n", u"例"},
    };
    OpenFromMainWindow("http://old.example/\r\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        Settings().txtURL->SetText(c.typed);

        Click(*Settings().cmdSave);

        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text,
                  u"Le paramètre ne peut pas contenir ces caractères : " + c.named);
        EXPECT_EQ(messages[0].flags, 16);
        EXPECT_EQ(messages[0].title, u"Erreur");
        EXPECT_EQ(Settings().txtURL->Text(), c.typed);
        EXPECT_EQ(SettingsBytes(), "http://old.example/\r\n");
        ExpectSettingsStillOpen();
    }
}

TEST_F(SettingsWindowTest, AnAddressOfAnyLengthIsSavedWhole) {
    const std::u16string address = u"http://example.org/" + std::u16string(100'000, u'a');
    OpenFromMainWindow("http://old.example/\r\n");
    Settings().txtURL->SetText(address);

    Click(*Settings().cmdSave);

    ExpectSavedAndBack(QByteArray::fromStdString(mdCode::ToAnsi(address) + "/\r\n"));
    EXPECT_EQ(BaseUrl, address + u"/");
}

TEST_F(SettingsWindowTest, ActivationPutsTheCaretBehindTheText) {
    frmParam& settings = forms::Form::Show<frmParam>();
    settings.txtURL->SetText(u"http://example.org/tmp");
    // The caret is put elsewhere first, so that only the activation can bring it to the end.
    settings.txtURL->setCursorPosition(0);

    Settle();

    EXPECT_EQ(settings.txtURL->cursorPosition(), 22);
    EXPECT_FALSE(settings.txtURL->hasSelectedText());
    QTest::keyClicks(settings.txtURL, "/a");
    EXPECT_EQ(settings.txtURL->Text(), u"http://example.org/tmp/a");
}

TEST_F(SettingsWindowTest, CancelAndEscapeReturnWithoutSaving) {
    const Trigger cancelTriggers[] = {
        {"the cancel button",
         [](frmParam& settings) { QTest::mouseClick(settings.cmdCancel, Qt::LeftButton); }},
        {"Escape in the box",
         [](frmParam& settings) { QTest::keyClick(settings.txtURL, Qt::Key_Escape); }},
        {"Escape on the save button",
         [](frmParam& settings) {
             settings.cmdSave->setFocus();
             QTest::keyClick(settings.cmdSave, Qt::Key_Escape);
         }},
    };
    for (const Trigger& trigger : cancelTriggers) {
        SCOPED_TRACE(trigger.what);
        endCodes.clear();
        OpenFromMainWindow("http://old.example/\r\n", ProgramFolder() + u"\\a b.txt");
        Settings().txtURL->SetText(u"http://typed.example/");

        trigger.press(Settings());
        Settle();

        EXPECT_TRUE(messages.empty());
        ExpectSavedAndBack("http://old.example/\r\n");
        EXPECT_EQ(BaseUrl, u"http://old.example/");
        EXPECT_EQ(Main().txtAdr->Text(), u"http://old.example/a%20b.txt");
        Main().Unload();
        Settle();
    }
}

TEST_F(SettingsWindowTest, OnTheFirstRunOnlySavingLeadsOn) {
    Start();
    QTest::keyClicks(Settings().txtURL, "exemple.fr");

    Click(*Settings().cmdCancel);
    QTest::keyClick(Settings().txtURL, Qt::Key_Escape);
    Settle();

    ExpectSettingsStillOpen();
    EXPECT_EQ(Settings().txtURL->Text(), u"http://www.exemple.fr");
    EXPECT_EQ(messages.size(), 1u);

    Settings().close();
    Settle();

    EXPECT_TRUE(forms::Form::LoadedForms().empty());
    EXPECT_EQ(endCodes, std::vector<int>{0});
    EXPECT_FALSE(QFile::exists(NativePath("PARAM.ini")));
}

TEST_F(SettingsWindowTest, AFailedSaveKeepsTheWindowAndTheOldFile) {
    OpenFromMainWindow("http://old.example/\r\n");
    Settings().txtURL->SetText(u"http://new.example");
    forms::App::Override(forms::App::Setting{ProgramFolder() + u"\\absent", u""});

    Click(*Settings().cmdSave);

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, u"Impossible d'enregistrer le paramètre : " +
                                    forms::FromQString(NativePath("absent/PARAM.ini")) +
                                    u" : Fichier ou dossier introuvable");
    EXPECT_EQ(messages[0].flags, 16);
    EXPECT_EQ(messages[0].title, u"Erreur");
    ExpectSettingsStillOpen();
    EXPECT_EQ(Settings().txtURL->Text(), u"http://new.example/");
    EXPECT_EQ(SettingsBytes(), "http://old.example/\r\n");

    // Once the folder is back, the same window saves.
    forms::App::Override(forms::App::Setting{ProgramFolder(), u""});
    Click(*Settings().cmdSave);
    ExpectSavedAndBack("http://new.example/\r\n");
}

TEST_F(SettingsWindowTest, AFolderInThePlaceOfTheFileIsLeftAsItWas) {
    CreateFolder("PARAM.ini");
    Start();
    messages.clear();

    Click(*Settings().cmdSave);

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, u"Impossible d'enregistrer le paramètre : " +
                                    forms::FromQString(NativePath("PARAM.ini")) +
                                    u" : C'est un dossier");
    ExpectSettingsStillOpen();
    EXPECT_TRUE(QFileInfo(NativePath("PARAM.ini")).isDir());
    EXPECT_EQ(QDir(NativePath(".")).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST_F(SettingsWindowTest, TheLinkOpensTheMakersSiteAndChangesNothing) {
    // A click leaves the focus in the box; the keys act on the link that has it.
    const Trigger openTriggers[] = {
        {"a click",
         [](frmParam& settings) { QTest::mouseClick(settings.lblSite, Qt::LeftButton); }},
        {"Enter", [](frmParam& settings) { QTest::keyClick(settings.lblSite, Qt::Key_Return); }},
        {"Enter on the keypad",
         [](frmParam& settings) {
             QTest::keyClick(settings.lblSite, Qt::Key_Enter, Qt::KeypadModifier);
         }},
        {"Space", [](frmParam& settings) { QTest::keyClick(settings.lblSite, Qt::Key_Space); }},
    };
    for (const Trigger& trigger : openTriggers) {
        SCOPED_TRACE(trigger.what);
        Browser browser;
        OpenFromMainWindow("http://old.example/\r\n");
        Settings().txtURL->SetText(u"http://typed.example");
        const bool byKey = std::strcmp(trigger.what, "a click") != 0;
        if (byKey)
            Settings().lblSite->setFocus();

        trigger.press(Settings());
        Settle();

        EXPECT_EQ(browser.opened, QList<QUrl>{QUrl("http://www.odrasque.example/")});
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(Settings().txtURL->Text(), u"http://typed.example");
        EXPECT_EQ(SettingsBytes(), "http://old.example/\r\n");
        EXPECT_EQ(QApplication::focusWidget(),
                  byKey ? static_cast<QWidget*>(Settings().lblSite) : Settings().txtURL);
        Settings().Unload();
        Settle();
    }
}

} // namespace

#include "settings_window_test.moc"

#include "support/window_test.h"

#include "app/base_url.h"
#include "forms/clipboard.h"
#include "forms/msg_box.h"
#include "forms/qt_text.h"
#include "ui/main/main_window.h"
#include "ui/settings/settings_window.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLocale>
#include <QSysInfo>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>

namespace {

constexpr char16_t Base[] = u"http://example.org/tmp/";

class MainWindowTest : public WindowTest {
protected:
    void StartWithFiles(const QStringList& names) {
        WriteSettings("http://example.org/tmp/\r\n");
        for (const QString& name : names)
            CreateFile(name);
        Start();
    }

    void DoubleClick(const QString& entry) {
        const auto found = Main().File1->findItems(entry, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << entry.toStdString();
        const QRect place = Main().File1->visualItemRect(found.front());
        QTest::mouseDClick(Main().File1->viewport(), Qt::LeftButton, {}, place.center());
        Settle();
    }
};

TEST_F(MainWindowTest, DoubleClickAddsALineAndPutsThatAddressAloneOnTheClipboard) {
    StartWithFiles({"photo 1.jpg", "b.txt"});

    DoubleClick("photo 1.jpg");
    EXPECT_EQ(Main().txtAdr->Text(), u"http://example.org/tmp/photo%201.jpg");
    EXPECT_EQ(forms::Clipboard::GetText(), u"http://example.org/tmp/photo%201.jpg");

    DoubleClick("b.txt");
    DoubleClick("b.txt");
    EXPECT_EQ(Main().txtAdr->Text(), u"http://example.org/tmp/photo%201.jpg\r\n"
                                     u"http://example.org/tmp/b.txt\r\n"
                                     u"http://example.org/tmp/b.txt");
    EXPECT_EQ(forms::Clipboard::GetText(), u"http://example.org/tmp/b.txt");
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainWindowTest, DoubleClickBesideTheEntriesAddsNothing) {
    StartWithFiles({"a.txt"});
    forms::Clipboard::SetText(u"before");

    QTest::mouseDClick(Main().File1->viewport(), Qt::LeftButton, {},
                       Main().File1->viewport()->rect().bottomLeft() + QPoint(5, -5));
    Settle();

    EXPECT_EQ(Main().File1->ListIndex(), -1);
    EXPECT_EQ(Main().txtAdr->Text(), u"");
    EXPECT_EQ(forms::Clipboard::GetText(), u"before");
    EXPECT_TRUE(endCodes.empty());
}

// The double-click lets waiting events through before and between its clipboard steps (clear,
// set, clear, set): a quick close runs in any of them. The user's clipboard is then kept or
// replaced by the address, never left empty.
TEST_F(MainWindowTest, WindowClosedWhileTheClipboardIsBeingSetEndsCleanly) {
    for (const int changesBeforeClose : {0, 1, 2, 3}) {
        SCOPED_TRACE(changesBeforeClose);
        endCodes.clear();
        StartWithFiles({"a.txt"});
        forms::Clipboard::SetText(u"the user's");
        const auto closeSoon = [this] {
            QMetaObject::invokeMethod(
                qApp, [this] { Main().close(); }, Qt::QueuedConnection);
        };
        int changes = 0;
        const QMetaObject::Connection counting =
            QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, [&] {
                if (++changes == changesBeforeClose)
                    closeSoon();
            });
        if (changesBeforeClose == 0)
            closeSoon();

        DoubleClick("a.txt");
        QObject::disconnect(counting);

        EXPECT_EQ(forms::Form::LoadedForms().size(), 0u);
        EXPECT_EQ(endCodes, std::vector<int>{0});
        EXPECT_TRUE(messages.empty());
        const std::u16string clipboard = forms::Clipboard::GetText();
        EXPECT_TRUE(clipboard == u"the user's" || clipboard == u"http://example.org/tmp/a.txt")
            << forms::ToQString(clipboard).toStdString();
    }
}

struct ListKeyCase {
    const char* what;
    std::function<void(QListWidget&)> press;
    std::u16string box;
    std::u16string clipboard;
};

// Enter on the current entry does what a double-click does; the copy keys copy its address
// alone; a click or another key only selects.
TEST_F(MainWindowTest, KeysOnTheListAddOrCopyTheCurrentEntrysAddress) {
    const std::u16string address = u"http://example.org/tmp/a%20b.txt";
    const auto key = [](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        return [key, modifiers](QListWidget& list) { QTest::keyClick(&list, key, modifiers); };
    };
    const ListKeyCase cases[] = {
        {"Enter", key(Qt::Key_Return), address, address},
        {"Enter on the keypad", key(Qt::Key_Enter, Qt::KeypadModifier), address, address},
        {"Ctrl+C", key(Qt::Key_C, Qt::ControlModifier), u"", address},
        {"Ctrl+Insert", key(Qt::Key_Insert, Qt::ControlModifier), u"", address},
        {"Space", key(Qt::Key_Space), u"", u"before"},
        {"a click",
         [](QListWidget& list) {
             QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                               list.visualItemRect(list.item(0)).center());
         },
         u"", u"before"},
    };
    for (const ListKeyCase& c : cases) {
        SCOPED_TRACE(c.what);
        StartWithFiles({"a b.txt"});
        Main().File1->setFocus();
        Main().File1->setCurrentRow(0);
        forms::Clipboard::SetText(u"before");

        c.press(*Main().File1);
        Settle();

        EXPECT_EQ(Main().txtAdr->Text(), c.box);
        EXPECT_EQ(forms::Clipboard::GetText(), c.clipboard);
        EXPECT_EQ(Main().File1->ListIndex(), 0);
        Main().Unload();
        Settle();
    }
}

struct DropCase {
    const char* what;
    QStringList inFolder;  // paths relative to the program folder
    QStringList outside;   // absolute paths elsewhere
    std::u16string onBox;  // the box afterwards, after a drop on the address box
    std::u16string onList; // the box afterwards, after a drop on the file list
};

mode_t ModeOf(const QString& path) {
    struct stat status {};
    EXPECT_EQ(stat(QFile::encodeName(path).constData(), &status), 0);
    return status.st_mode & 07777;
}

struct UnreadableCase {
    const char* what;
    std::function<void()> give;
};

// Every way of giving the address of a file the web server cannot read gives it, then asks once
// to make the file readable; « Oui », the default, does.
TEST_F(MainWindowTest, AnAddressOfAFileTheServerCannotReadAsksToMakeItReadable) {
    const UnreadableCase cases[] = {
        {"a double-click", [this] { DoubleClick("privé.txt"); }},
        {"Ctrl+C",
         [this] {
             Main().File1->setCurrentItem(Main().File1->findItems("privé.txt", {}).front());
             QTest::keyClick(Main().File1, Qt::Key_C, Qt::ControlModifier);
             Settle();
         }},
        {"a drop",
         [this] {
             EXPECT_TRUE(DropOn(*Main().txtAdr->viewport(), FileUrls({NativePath("privé.txt")})));
             Settle();
         }},
        {"the command line",
         [this] {
             Main().Unload();
             Settle();
             Start(ProgramFolder() + u"\\privé.txt");
         }},
    };
    for (const UnreadableCase& c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        StartWithFiles({"privé.txt"});
        ASSERT_TRUE(
            QFile::setPermissions(NativePath("privé.txt"), QFile::ReadOwner | QFile::WriteOwner));

        c.give();

        const std::u16string address = u"http://example.org/tmp/privé.txt";
        EXPECT_TRUE(Main().txtAdr->Text() == address || forms::Clipboard::GetText() == address);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, u"« privé.txt » : le serveur web ne pourra pas le lire (droits "
                                    u"rw-------).\n\nLe rendre lisible par le serveur web ?");
        EXPECT_EQ(messages[0].flags, forms::vbYesNo | forms::vbQuestion);
        EXPECT_EQ(messages[0].title, u"Fichier non lisible");
        EXPECT_EQ(ModeOf(NativePath("privé.txt")), 0604u);
        Main().Unload();
        Settle();
    }
}

// Many files in a folder the server cannot enter: one question names the folder and the first
// files, and counts the rest; « Non » changes nothing.
TEST_F(MainWindowTest, ADropOfManyUnreadableFilesAsksOnce) {
    StartWithFiles({});
    CreateFolder("sous");
    QStringList dropped;
    for (int i = 1; i <= 7; ++i) {
        CreateFile(QStringLiteral("sous/%1.txt").arg(i));
        QFile::setPermissions(NativePath(QStringLiteral("sous/%1.txt").arg(i)), QFile::ReadOwner);
        dropped.push_back(NativePath(QStringLiteral("sous/%1.txt").arg(i)));
    }
    QFile::setPermissions(NativePath("sous"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    forms::SetNextAnswer(forms::vbNo);

    ASSERT_TRUE(DropOn(*Main().txtAdr->viewport(), FileUrls(dropped)));
    Settle();

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text,
              u"« sous » : le serveur web ne pourra pas y entrer (droits rwx------).\n"
              u"« sous/1.txt » : le serveur web ne pourra pas le lire (droits r--------).\n"
              u"« sous/2.txt » : le serveur web ne pourra pas le lire (droits r--------).\n"
              u"« sous/3.txt » : le serveur web ne pourra pas le lire (droits r--------).\n"
              u"« sous/4.txt » : le serveur web ne pourra pas le lire (droits r--------).\n"
              u"… et 3 autres.\n\nLes rendre lisibles par le serveur web ?");
    EXPECT_EQ(ModeOf(NativePath("sous")), 0700u);
    EXPECT_EQ(ModeOf(NativePath("sous/7.txt")), 0400u);
    const std::u16string box = Main().txtAdr->Text();
    EXPECT_EQ(std::count(box.begin(), box.end(), u'\n'), 6);
    QFile::setPermissions(NativePath("sous"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther);
}

TEST_F(MainWindowTest, DroppedFilesBelowTheFolderAddOneLineEach) {
    const std::u16string base = Base;
    const DropCase cases[] = {
        {"a file", {"photo 1.jpg"}, {}, base + u"photo%201.jpg", base + u"photo 1.jpg"},
        {"a file in a subfolder",
         {"images/photo 1.jpg"},
         {},
         base + u"images/photo%201.jpg",
         base + u"images/photo 1.jpg"},
        {"a subfolder", {"images"}, {}, base + u"images", base + u"images"},
        {"reserved characters",
         {"#1 [old]%.doc"},
         {},
         base + u"%231%20%5Bold%5D%25.doc",
         base + u"#1 [old]%.doc"},
        {"a percent sign before hex digits, accents, a pair",
         {"100%41 été 😀.txt"},
         {},
         base + u"100%2541%20été%20😀.txt",
         base + u"100%41 été 😀.txt"},
        {"outside paths are skipped",
         {"b.txt"},
         {"/elsewhere/a.txt"},
         base + u"b.txt",
         base + u"b.txt"},
        {"only outside paths", {}, {"/elsewhere/a.txt"}, u"", u""},
        {"the folder itself", {""}, {}, u"", u""},
    };
    for (const DropCase& c : cases) {
        for (const bool onList : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (onList ? " on the list" : " on the box"));
            StartWithFiles({});
            QStringList paths;
            for (const QString& name : c.inFolder)
                paths << (name.isEmpty() ? NativePath(".").chopped(2) : NativePath(name));
            // Outside paths go first, so that skipping them keeps the order of the rest.
            paths = c.outside + paths;
            QWidget& target = onList ? *Main().File1->viewport() : *Main().txtAdr->viewport();

            EXPECT_TRUE(DropOn(target, FileUrls(paths)));
            EXPECT_EQ(Main().txtAdr->Text(), onList ? c.onList : c.onBox);
            Window<frmMain>().Unload();
            Settle();
        }
    }
}

// A name that is not UTF-8 is listed, and its double-click, a drop and the command line give the
// same address, whose bytes are those of the name.
TEST_F(MainWindowTest, ANameThatIsNotUtf8HasOneAddressEveryWay) {
    const std::u16string address = u"http://example.org/tmp/bad%FF%FE%20x.txt";
    const QByteArray native = QFile::encodeName(NativePath("x")).chopped(1) + "bad\xFF\xFE x.txt";
    WriteSettings("http://example.org/tmp/\r\n");
    std::ofstream(native.toStdString()) << "x";
    Start(ProgramFolder() + u"\\bad\xDCFF\xDCFE x.txt");
    EXPECT_EQ(Main().txtAdr->Text(), address);
    Main().txtAdr->SetText(u"");

    DoubleClick(QStringLiteral("bad\uFFFD\uFFFD x.txt"));
    QUrl url(QString::fromLatin1("file://" + native.toPercentEncoding("/")), QUrl::StrictMode);
    EXPECT_TRUE(DropOn(*Main().txtAdr->viewport(), {url}));
    EXPECT_TRUE(DropOn(*Main().File1->viewport(), {url}));

    EXPECT_EQ(Main().txtAdr->Text(),
              address + u"\r\n" + address + u"\r\nhttp://example.org/tmp/bad%FF%FE x.txt");
    // The sandbox's temporary folder cannot remove a name that is not UTF-8.
    std::filesystem::remove(native.toStdString());
}

// Only a path that begins with the program folder is inside it, and only a file of this machine;
// a drop with no such file leaves the box as it was.
TEST_F(MainWindowTest, DropsOfFilesOfOtherFoldersOrHostsAddNothing) {
    StartWithFiles({"a b.txt"});
    const QString inside = NativePath("a b.txt");
    const QString host = QSysInfo::machineHostName();
    struct HostCase {
        QString url;
        bool added;
    };
    const HostCase cases[] = {
        {"file://" + QUrl::toPercentEncoding(inside, "/"), true},
        {"file://localhost" + QUrl::toPercentEncoding(inside, "/"), true},
        {"file://" + host + QUrl::toPercentEncoding(inside, "/"), true},
        {"file://otherhost.example" + QUrl::toPercentEncoding(inside, "/"), false},
        {"file:///copie" + QUrl::toPercentEncoding(inside, "/"), false},
        {"file://" + QUrl::toPercentEncoding(NativePath("x/../a b.txt"), "/"), true},
        {"http://localhost" + QUrl::toPercentEncoding(inside, "/"), false},
    };
    for (const HostCase& c : cases) {
        SCOPED_TRACE(c.url.toStdString());
        Main().txtAdr->SetText(u"first");
        DropOn(*Main().txtAdr->viewport(), {QUrl(c.url)});
        EXPECT_EQ(Main().txtAdr->Text(),
                  c.added ? u"first\r\nhttp://example.org/tmp/a%20b.txt" : u"first");
    }
}

TEST_F(MainWindowTest, DroppedFilesFollowTheBoxInDropOrderAndLeaveTheClipboardAlone) {
    StartWithFiles({"a.txt"});
    Main().txtAdr->SetText(u"first");
    forms::Clipboard::SetText(u"kept");

    EXPECT_TRUE(DropOn(*Main().txtAdr->viewport(),
                       FileUrls({NativePath("c.txt"), NativePath("a b.txt"), NativePath("b")})));

    EXPECT_EQ(Main().txtAdr->Text(), u"first\r\n"
                                     u"http://example.org/tmp/c.txt\r\n"
                                     u"http://example.org/tmp/a%20b.txt\r\n"
                                     u"http://example.org/tmp/b");
    EXPECT_EQ(forms::Clipboard::GetText(), u"kept");
}

// A double-click or a drop adds to the end of the box: what the user typed stays where it is, and
// one undo takes back exactly what the double-click or the drop added.
TEST_F(MainWindowTest, AddedLinesLeaveTheTypedTextAndAreUndoneOneStepEach) {
    StartWithFiles({"a.txt"});
    QTest::keyClicks(Main().txtAdr, "typed");
    QStringList dropped;
    std::u16string droppedLines;
    for (int i = 0; i < 2000; ++i) {
        dropped << NativePath(QStringLiteral("f %1").arg(i));
        droppedLines += u"\r\nhttp://example.org/tmp/f%20" + forms::FromQString(QString::number(i));
    }

    DoubleClick("a.txt");
    ASSERT_TRUE(DropOn(*Main().txtAdr->viewport(), FileUrls(dropped)));
    EXPECT_EQ(Main().txtAdr->Text(), u"typed\r\nhttp://example.org/tmp/a.txt" + droppedLines);

    Main().txtAdr->undo();
    EXPECT_EQ(Main().txtAdr->Text(), u"typed\r\nhttp://example.org/tmp/a.txt");
    Main().txtAdr->undo();
    EXPECT_EQ(Main().txtAdr->Text(), u"typed");
}

TEST_F(MainWindowTest, DraggedTextOrWebLinksAreRefused) {
    StartWithFiles({"a.txt"});
    Main().txtAdr->SetText(u"first");

    EXPECT_FALSE(DropTextOn(*Main().txtAdr->viewport(), NativePath("a.txt")));
    EXPECT_FALSE(DropOn(*Main().File1->viewport(), {QUrl("http://example.org/a.txt")}));

    EXPECT_EQ(Main().txtAdr->Text(), u"first");
}

TEST_F(MainWindowTest, RefreshShowsFilesCreatedSinceTheStartAndKeepsTheBox) {
    // The list sorts as the user's language does; a French user's, here.
    const QLocale userLocale;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    StartWithFiles({"b.txt", "A.txt", "zèbre.txt", "été.txt"});
    CreateFile(".hidden");
    CreateFolder("folder");
    // Letter case and accents do not move a name to the end of the list.
    EXPECT_EQ(ListedFiles(), QStringList({"A.txt", "b.txt", "été.txt", "PARAM.ini", "zèbre.txt"}));
    Main().txtAdr->SetText(u"kept");

    CreateFile("new.txt");
    Click(*Main().cmdActu);

    EXPECT_EQ(ListedFiles(),
              QStringList({"A.txt", "b.txt", "été.txt", "new.txt", "PARAM.ini", "zèbre.txt"}));
    EXPECT_EQ(Main().txtAdr->Text(), u"kept");
    QLocale::setDefault(userLocale);
}

TEST_F(MainWindowTest, CopyAndQuitCopiesTheWholeBoxAndEndsTheProgram) {
    for (const std::u16string box : {u"", u"a\r\nb\r\nc été €"}) {
        SCOPED_TRACE(forms::ToQString(box).toStdString());
        endCodes.clear();
        StartWithFiles({});
        forms::Clipboard::SetText(u"before");
        Main().txtAdr->SetText(box);

        Click(*Main().cmdCopy);

        EXPECT_EQ(forms::Clipboard::GetText(), box);
        EXPECT_EQ(forms::Form::LoadedForms().size(), 0u);
        EXPECT_EQ(endCodes, std::vector<int>{0});
    }
}

TEST_F(MainWindowTest, SettingsButtonOpensTheSettingsWindowWithTheBaseAddress) {
    for (const QByteArray& stored : {QByteArray("http://example.org/tmp/\r\n"), QByteArray()}) {
        SCOPED_TRACE(stored.toStdString());
        endCodes.clear();
        WriteSettings(stored);
        Start();

        Click(*Main().cmdParam);

        EXPECT_EQ(forms::Form::Loaded<frmMain>(), nullptr);
        EXPECT_EQ(Window<frmParam>().txtURL->Text(), forms::FromQString(QString(stored.trimmed())));
        EXPECT_TRUE(endCodes.empty());
        Window<frmParam>().Unload();
        Settle();
    }
}

} // namespace

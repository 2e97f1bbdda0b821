#include "support/window_test.h"

#include "app/base_url.h"
#include "encoding/utf8.h"
#include "forms/clipboard.h"
#include "forms/qt_text.h"
#include "ui/main/main_window.h"
#include "ui/settings/settings_window.h"

#include <QApplication>
#include <QFile>
#include <functional>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

std::u16string Quoted(const std::u16string& path) {
    return u"\"" + path + u"\"";
}

// Root opens any file whatever its permissions. While this object lives, the calling thread
// runs without the capabilities that allow it, so a file without read permission refuses root
// too.
class FilePermissionsApply final {
public:
    FilePermissionsApply() {
        syscall(SYS_capget, &header_, saved_);
        __user_cap_data_struct reduced[_LINUX_CAPABILITY_U32S_3] = {saved_[0], saved_[1]};
        reduced[0].effective &= ~(CAP_TO_MASK(CAP_DAC_OVERRIDE) | CAP_TO_MASK(CAP_DAC_READ_SEARCH));
        syscall(SYS_capset, &header_, reduced);
    }
    ~FilePermissionsApply() { syscall(SYS_capset, &header_, saved_); }
    FilePermissionsApply(const FilePermissionsApply&) = delete;
    FilePermissionsApply& operator=(const FilePermissionsApply&) = delete;

private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[_LINUX_CAPABILITY_U32S_3]{};
};

class StartUpTest : public WindowTest {
protected:
    // True while a main window exists at all, loaded or waiting to be destroyed.
    static bool AnyMainWindow() {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (qobject_cast<frmMain*>(window) != nullptr)
                return true;
        }
        return false;
    }

    // Loads the main window from a waiting event, as the program starts, so that a failure
    // is reported like any other.
    static void LoadFromTheEventLoop() {
        QMetaObject::invokeMethod(
            qApp, [] { forms::Form::Show<frmMain>(); }, Qt::QueuedConnection);
        Settle();
    }

    // The reason is French, whatever the user's language.
    void ExpectRunTimeError(const std::u16string& reason) {
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, u"Erreur d'exécution :\n\n" +
                                        forms::FromQString(NativePath("PARAM.ini")) + u" : " +
                                        reason);
        EXPECT_EQ(messages[0].flags, 16);
        EXPECT_EQ(messages[0].title, u"Lirvane");
        EXPECT_EQ(endCodes, std::vector<int>{1});
        EXPECT_TRUE(forms::Form::LoadedForms().empty());
        EXPECT_EQ(BaseUrl, u"");
    }

    // The program folder as the address encoding writes it: its name holds only letters,
    // digits, "_" and "-", which stay as they are.
    std::u16string EncodedProgramFolder() const {
        return forms::FromQString(
            forms::ToQString(ProgramFolder()).replace(QStringLiteral("\\"), QStringLiteral("/")));
    }
};

TEST_F(StartUpTest, WithoutSettingsFileTheFirstRunLeadsToTheSettingsWindow) {
    struct Missing {
        const char* what;
        std::function<void()> arrange;
    };
    const Missing cases[] = {
        {"no settings file", [] {}},
        {"a folder named like the settings file", [this] { CreateFolder("PARAM.ini"); }},
    };
    for (const Missing& c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        endCodes.clear();
        c.arrange();
        BaseUrl = u"as before";

        Start(ProgramFolder() + u"\\a.txt");

        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text,
                  u"C'est votre première utilisation, On va paramètrer le programme.");
        EXPECT_EQ(messages[0].flags, 64);
        EXPECT_EQ(messages[0].title, u"Paramètre Manquant");
        EXPECT_EQ(forms::Form::Loaded<frmMain>(), nullptr);
        EXPECT_FALSE(AnyMainWindow());
        frmParam& settings = Window<frmParam>();
        EXPECT_TRUE(settings.isVisible());
        EXPECT_FALSE(settings.cmdCancel->isEnabled());
        EXPECT_EQ(settings.txtURL->Text(), u"http://www.");
        EXPECT_EQ(BaseUrl, u"as before");
        EXPECT_TRUE(endCodes.empty());
        settings.Unload();
        Settle();
    }
}

TEST_F(StartUpTest, LoadReadsTheBaseAddressListsTheFolderAndShowsTheVersion) {
    WriteSettings("http://example.org/tmp/\r\n");
    CreateFile("b.txt");
    CreateFile("A.txt");
    CreateFile(".hidden");
    CreateFolder("images");
    CreateFile("images/c.txt");

    Start();

    EXPECT_EQ(BaseUrl, u"http://example.org/tmp/");
    EXPECT_EQ(forms::FromQString(Main().windowTitle()), VersionCaption);
    EXPECT_EQ(ListedFiles(), QStringList({"A.txt", "b.txt", "PARAM.ini"}));
    EXPECT_EQ(Main().txtAdr->Text(), u"");
    EXPECT_TRUE(Main().isVisible());
    EXPECT_EQ(forms::Form::Loaded<frmParam>(), nullptr);
    EXPECT_TRUE(messages.empty());
}

struct CommandLineCase {
    const char* what;
    QByteArray settings;
    std::u16string commandLine;
    std::u16string box;
};

TEST_F(StartUpTest, CommandLineFileBecomesTheBoxText) {
    const QByteArray stored = "http://example.org/tmp/\r\n";
    const std::u16string base = u"http://example.org/tmp/";
    const std::u16string folder = ProgramFolder();
    const std::u16string otherCase = forms::FromQString(forms::ToQString(folder).toUpper());
    // The command line holds the arguments' absolute paths in the program's form (see
    // App::Command): a double quote in it is part of a name.
    const CommandLineCase cases[] = {
        {"a file", stored, folder + u"\\Mon rapport.pdf", base + u"Mon%20rapport.pdf"},
        {"a file in a subfolder", stored, folder + u"\\img\\a b.png", base + u"img/a%20b.png"},
        {"a name holding a backslash and undecodable bytes", stored,
         folder + u"\\x\uF05Cy \xDCFF.txt", base + u"x%5Cy%20%FF.txt"},
        {"a file outside the folder", stored, u"\\autre\\x.txt", base},
        {"a path that holds the folder further on", stored, u"\\copie" + folder + u"\\x.txt", base},
        {"the folder in other letter case", stored, otherCase + u"\\x.txt", base},
        {"a path in double quotes", stored, Quoted(folder + u"\\x.txt"), base},
        {"two files", stored, folder + u"\\a.txt " + folder + u"\\b.txt",
         base + u"a.txt%20" + EncodedProgramFolder() + u"/b.txt"},
        {"a name holding %22", stored, folder + u"\\x%22.txt", base + u"x%2522.txt"},
        {"a name ending in a double quote", stored, folder + u"\\x\"", base + u"x%22"},
        {"no base address and a file", "", folder + u"\\note.txt", u"note.txt"},
        {"a base address ending in %22", "http://example.org/a%22\r\n", u"\\autre\\x.txt",
         u"http://example.org/a%22/"},
    };
    for (const CommandLineCase& c : cases) {
        SCOPED_TRACE(c.what);
        WriteSettings(c.settings);

        Start(c.commandLine);

        EXPECT_EQ(Main().txtAdr->Text(), c.box);
        EXPECT_EQ(forms::FromQString(Main().windowTitle()), VersionCaption);
        EXPECT_EQ(forms::Clipboard::GetText(), u"");
        EXPECT_TRUE(messages.empty());
        Main().Unload();
        Settle();
    }
}

// A settings file written by hand that gives no usable base address leads to the settings window,
// which says why, as the first run does.
TEST_F(StartUpTest, ASettingsFileWithoutAUsableAddressLeadsToTheSettingsWindow) {
    const std::pair<QByteArray, std::u16string> cases[] = {
        {"http://a.example/\r\nhttp://b.example/\r\n",
         u"l'adresse de base tient sur plusieurs lignes"},
        {"http://a.example/?dossier=tmp\r\n",
         u"l'adresse de base contient « ? » ou « # » : le nom d'un fichier derrière eux ne serait "
         u"plus un chemin"},
    };
    for (const auto& [stored, reason] : cases) {
        SCOPED_TRACE(stored.toStdString());
        messages.clear();
        WriteSettings(stored);
        BaseUrl = u"as before";

        Start(ProgramFolder() + u"\\a.txt");

        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, u"Le paramètre ne convient pas : " + reason +
                                        u".\nOn va paramètrer le programme.");
        EXPECT_EQ(messages[0].flags, 16);
        EXPECT_EQ(messages[0].title, u"Paramètre incorrect");
        EXPECT_FALSE(AnyMainWindow());
        EXPECT_FALSE(Window<frmParam>().cmdCancel->isEnabled());
        EXPECT_EQ(BaseUrl, u"as before");
        Window<frmParam>().Unload();
        Settle();
    }
}

TEST_F(StartUpTest, AnUnreadableSettingsFileEndsTheProgramWithAnError) {
    WriteSettings("http://example.org/tmp/\r\n");
    ASSERT_TRUE(QFile::setPermissions(NativePath("PARAM.ini"), {}));
    const FilePermissionsApply permissionsApply;
    QFile settings(NativePath("PARAM.ini"));
    if (settings.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "this user reads files without read permission";

    LoadFromTheEventLoop();

    ExpectRunTimeError(u"Permission refusée");
}

TEST_F(StartUpTest, AnOversizedSettingsFileEndsTheProgramWithAnError) {
    WriteSettings("http://example.org/tmp/\r\n");
    ASSERT_TRUE(QFile::resize(NativePath("PARAM.ini"), 2 << 20));

    LoadFromTheEventLoop();

    ExpectRunTimeError(u"Fichier trop grand");
}

// A link planted in an upload folder brings no other file's content into the addresses.
TEST_F(StartUpTest, ASettingsLinkLeadingOutOfTheFolderEndsTheProgramWithAnError) {
    ASSERT_TRUE(QFile::link(QStringLiteral("/proc/self/status"), NativePath("PARAM.ini")));

    LoadFromTheEventLoop();

    ExpectRunTimeError(u"Lien symbolique qui mène hors de son dossier, vers /proc/" +
                       mdCode::FromUtf8(std::to_string(getpid())) + u"/status");
}

} // namespace

#include "ui/main/main_window.h"

#include "address/address_composition.h"
#include "address/stored_address.h"
#include "address/text_helpers.h"
#include "app/base_url.h"
#include "app/product.h"
#include "forms/app.h"
#include "forms/clipboard.h"
#include "forms/do_events.h"
#include "forms/msg_box.h"
#include "forms/qt_text.h"
#include "forms/resume_next.h"
#include "settings/settings_file.h"
#include "ui/main/unreadable_files.h"
#include "ui/settings/settings_window.h"
#include "ui/settings_file_path.h"

namespace {

std::u16string VersionCaption() {
    const QString version = QStringLiteral("%1.%2.%3")
                                .arg(forms::App::Major())
                                .arg(forms::App::Minor())
                                .arg(forms::App::Revision());
    return product::TitleWithMaker(std::u16string(product::Name) + u" " +
                                   forms::FromQString(version));
}

// Clears and sets the clipboard twice, letting waiting events run after each step, so that a
// clipboard that another program holds for a moment still ends up with the text. Every failing
// step is skipped. The text is taken before the first step: the events may close the window it
// comes from, and the clipboard, once cleared, must get it all the same.
void SetClipboardTwice(const std::u16string& text) {
    const auto setText = [&text] { forms::Clipboard::SetText(text); };
    forms::ResumeNext({forms::Clipboard::Clear, forms::DoEvents, setText, forms::DoEvents,
                       forms::Clipboard::Clear, forms::DoEvents, setText, forms::DoEvents});
}

} // namespace

void frmMain::Form_Load() {
    ListProgramFolder();
    if (!mdCode::FileExists(SettingsFilePath())) {
        forms::MsgBox(u"C'est votre première utilisation, On va paramètrer le programme.",
                      forms::vbInformation, u"Paramètre Manquant");
        AskForSettings();
        return;
    }
    // An empty file gives no base address: the addresses are the names alone.
    const mdCode::StoredAddress stored =
        mdCode::StoredBaseAddress(mdCode::ReadTextFile(SettingsFilePath()));
    if (stored.refusal != mdCode::StoredAddress::Refusal::None &&
        stored.refusal != mdCode::StoredAddress::Refusal::Empty) {
        forms::MsgBox(u"Le paramètre ne convient pas : " + mdCode::RefusalReason(stored) +
                          u".\nOn va paramètrer le programme.",
                      forms::vbCritical, u"Paramètre incorrect");
        AskForSettings();
        return;
    }
    BaseUrl = stored.address;
    const std::u16string commandLine = forms::App::Command();
    if (commandLine != u"")
        ShowCommandLineAddress(commandLine);
    setWindowTitle(forms::ToQString(VersionCaption()));
}

// The settings window, which can be left only by saving, in place of this one.
void frmMain::AskForSettings() {
    Form::Show<frmParam>().cmdCancel->setEnabled(false);
    Unload();
}

void frmMain::ListProgramFolder() {
    File1->SetPath(forms::App::Path());
    File1->Refresh();
    File1->SetPath(forms::App::Path());
}

// The command line holds the arguments as absolute paths, without the quotes a shell removes:
// its part below the program folder is the name.
void frmMain::ShowCommandLineAddress(const std::u16string& commandLine) {
    const auto name = mdCode::RelativeName(forms::App::Path(), commandLine);
    txtAdr->SetText(mdCode::FileAddress(BaseUrl, name.value_or(u"")));
    if (name && !name->empty())
        OfferToMakeReadable({commandLine});
}

std::u16string frmMain::CurrentEntryAddress() const {
    return mdCode::FileAddress(BaseUrl, File1->List(File1->ListIndex()));
}

void frmMain::CopyCurrentEntryAddress() {
    SetClipboardTwice(CurrentEntryAddress());
    OfferToMakeReadable(
        {mdCode::AddBackslash(forms::App::Path()) + File1->List(File1->ListIndex())});
}

// Asked once the event that gave the addresses is handled: a drop's source then knows it is over,
// and a start-up shows the window first.
void frmMain::OfferToMakeReadable(std::vector<std::u16string> files) {
    QMetaObject::invokeMethod(
        this,
        [files = std::move(files)] {
            unreadable_files::OfferToMakeReadable(forms::App::Path(), files);
        },
        Qt::QueuedConnection);
}

void frmMain::File1_DblClick() {
    // A double-click beside the entries leaves no current entry: there is nothing to add.
    if (File1->ListIndex() < 0)
        return;
    txtAdr->AppendLine(CurrentEntryAddress());
    forms::DoEvents();
    CopyCurrentEntryAddress();
}

// Enter does what a double-click does; the copy keys copy the current entry's address.
void frmMain::File1_KeyDown(int& KeyCode, Qt::KeyboardModifiers Shift) {
    if (KeyCode == forms::vbKeyReturn) {
        KeyCode = 0;
        File1_DblClick();
    } else if (forms::IsCopyKey(KeyCode, Shift)) {
        KeyCode = 0;
        if (File1->ListIndex() >= 0)
            CopyCurrentEntryAddress();
    }
}

void frmMain::txtAdr_OLEDragDrop(const forms::Files& Files) {
    AddDroppedFiles(Files, mdCode::FileAddress);
}

void frmMain::File1_OLEDragDrop(const forms::Files& Files) {
    AddDroppedFiles(Files, mdCode::PlainFileAddress);
}

// One line per dropped path below the program folder, in drop order; other paths are skipped.
// The lines are added to the box at once, so that a drop costs time in proportion to the number
// of files, whatever the box already holds.
void frmMain::AddDroppedFiles(const forms::Files& files, mdCode::AddressRule rule) {
    const std::u16string folder = forms::App::Path();
    std::u16string lines;
    std::vector<std::u16string> addressed;
    for (const std::u16string& path : files) {
        if (const auto address = mdCode::DroppedFileAddress(folder, BaseUrl, path, rule)) {
            lines = mdCode::AppendAddress(std::move(lines), *address);
            addressed.push_back(path);
        }
    }
    if (!lines.empty()) {
        txtAdr->AppendLine(lines);
        OfferToMakeReadable(std::move(addressed));
    }
}

void frmMain::cmdActu_Click() {
    ListProgramFolder();
}

void frmMain::cmdCopy_Click() {
    SetClipboardTwice(txtAdr->Text());
    Unload();
}

void frmMain::cmdParam_Click() {
    Form::Show<frmParam>().txtURL->SetText(BaseUrl);
    Unload();
}

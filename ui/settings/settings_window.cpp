#include "ui/settings/settings_window.h"

#include "address/text_helpers.h"
#include "app/product.h"
#include "desktop/link_opener.h"
#include "encoding/code_page.h"
#include "forms/msg_box.h"
#include "forms/qt_text.h"
#include "settings/settings_file.h"
#include "ui/main/main_window.h"
#include "ui/settings_file_path.h"

namespace {

std::u16string JoinedBySpaces(const std::vector<std::u16string>& characters) {
    std::u16string joined;
    for (const auto& character : characters) {
        joined += (joined.empty() ? u"" : u" ") + character;
    }
    return joined;
}

} // namespace

void frmParam::Form_Activate() {
    txtURL->SetSelStart(static_cast<int>(txtURL->Text().size()));
}

void frmParam::txtURL_KeyDown(int& KeyCode, Qt::KeyboardModifiers) {
    if (KeyCode == forms::vbKeyReturn) {
        cmdSave_Click();
        KeyCode = 0;
    }
}

void frmParam::cmdSave_Click() {
    // A pasted address often brings its line break or blanks; the file holds the address alone
    // on one line.
    const std::u16string address = mdCode::CleanAddress(txtURL->Text());
    if (address == u"") {
        forms::MsgBox(u"Vous devez marquer un url.", forms::vbCritical, u"Erreur");
        txtURL->SetFocus();
        return;
    }
    // The file is in Windows-1252: a character it cannot hold would be stored as "?".
    if (const auto unstorable = mdCode::CharactersWithoutCode(address); !unstorable.empty()) {
        forms::MsgBox(u"Le paramètre ne peut pas contenir ces caractères : " +
                          JoinedBySpaces(unstorable),
                      forms::vbCritical, u"Erreur");
        txtURL->SetFocus();
        return;
    }
    txtURL->SetText(mdCode::AddSlash(address));
    try {
        mdCode::WriteTextFile(SettingsFilePath(), txtURL->Text());
    } catch (const mdCode::FileError& error) {
        // The window stays open with the cleaned address, "/" added, as it would have been
        // saved; the old file is left as it was.
        forms::MsgBox(u"Impossible d'enregistrer le paramètre : " + forms::FromUtf8(error.what()),
                      forms::vbCritical, u"Erreur");
        txtURL->SetFocus();
        return;
    }
    forms::MsgBox(u"Paramètre sauvgarder.", forms::vbInformation, u"Save");
    Form::Show<frmMain>();
    Unload();
}

void frmParam::cmdCancel_Click() {
    Form::Show<frmMain>();
    Unload();
}

void frmParam::lblSite_Click() {
    desktop::ShellOpen(std::u16string(product::MakerSite));
}

#include "ui/settings/settings_window.h"

#include "address/stored_address.h"
#include "app/product.h"
#include "desktop/link_opener.h"
#include "encoding/utf8.h"
#include "forms/msg_box.h"
#include "forms/qt_text.h"
#include "settings/settings_file.h"
#include "ui/main/main_window.h"
#include "ui/settings_file_path.h"

namespace {

std::u16string RefusalMessage(const mdCode::StoredAddress& stored) {
    switch (stored.refusal) {
    case mdCode::StoredAddress::Refusal::Empty:
        return u"Vous devez marquer un url.";
    case mdCode::StoredAddress::Refusal::Unstorable:
        return u"Le paramètre ne peut pas contenir ces caractères : " + stored.unstorable;
    default:
        return u"Le paramètre ne convient pas : " + mdCode::RefusalReason(stored) + u".";
    }
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
    // on one line, in Windows-1252, which stores any other character as "?".
    const mdCode::StoredAddress stored = mdCode::AddressToStore(txtURL->Text());
    if (stored.refusal != mdCode::StoredAddress::Refusal::None) {
        forms::MsgBox(RefusalMessage(stored), forms::vbCritical, u"Erreur");
        txtURL->SetFocus();
        return;
    }
    txtURL->SetText(stored.address);
    try {
        mdCode::WriteTextFile(SettingsFilePath(), txtURL->Text());
    } catch (const mdCode::FileError& error) {
        // The window stays open with the cleaned address, "/" added, as it would have been
        // saved; the old file is left as it was.
        forms::MsgBox(u"Impossible d'enregistrer le paramètre : " + mdCode::FromUtf8(error.what()),
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

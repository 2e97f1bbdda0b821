#pragma once

#include "address/address_composition.h"
#include "forms/controls.h"
#include "forms/file_list_box.h"
#include "forms/form.h"
#include "forms/text_boxes.h"

#include <string>
#include <vector>

// The main window: the program folder's files on the left, the address box on the right.
class frmMain final : public forms::Form {
    Q_OBJECT

public:
    frmMain();

    forms::MultiLineTextBox* txtAdr;
    forms::CommandButton* cmdCopy;
    forms::CommandButton* cmdActu;
    forms::CommandButton* cmdParam;
    forms::FileListBox* File1;
    forms::Label* Label2;
    forms::Label* Label1;

private:
    void Form_Load() override;
    void File1_DblClick();
    void File1_KeyDown(int& KeyCode, Qt::KeyboardModifiers Shift);
    void File1_OLEDragDrop(const forms::Files& Files);
    void txtAdr_OLEDragDrop(const forms::Files& Files);
    void cmdActu_Click();
    void cmdCopy_Click();
    void cmdParam_Click();

    void AskForSettings();
    void ListProgramFolder();
    void ShowCommandLineAddress(const std::u16string& commandLine);
    std::u16string CurrentEntryAddress() const;
    void CopyCurrentEntryAddress();
    void OfferToMakeReadable(std::vector<std::u16string> files);
    void AddDroppedFiles(const forms::Files& files, mdCode::AddressRule rule);
};

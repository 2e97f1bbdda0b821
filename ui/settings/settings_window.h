#pragma once

#include "forms/controls.h"
#include "forms/form.h"
#include "forms/link_label.h"
#include "forms/text_boxes.h"

// The settings window, where the user enters the base address of the published folder.
class frmParam final : public forms::Form {
    Q_OBJECT

public:
    frmParam();

    forms::CommandButton* cmdCancel;
    forms::TextBox* txtURL;
    forms::CommandButton* cmdSave;
    forms::LinkLabel* lblSite;
    forms::Label* Label1;

private:
    void Form_Activate() override;
    void txtURL_KeyDown(int& KeyCode, Qt::KeyboardModifiers Shift);
    void cmdSave_Click();
    void cmdCancel_Click();
    void lblSite_Click();
};

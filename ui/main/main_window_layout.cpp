#include "app/product.h"
#include "ui/main/main_window.h"

#include "forms/qt_text.h"
#include "forms/twips.h"

#include <QIcon>

using forms::TwipsRect;

namespace {

constexpr forms::FontStyle BoldText{u"MS Sans Serif", 8.25, true};
constexpr forms::FontStyle ButtonText{u"MS Sans Serif", 9.75};

} // namespace

frmMain::frmMain()
    : Form({.clientWidthTwips = 9585, .clientHeightTwips = 4815, .minButton = true}),
      txtAdr(new forms::MultiLineTextBox(this)),
      cmdCopy(new forms::CommandButton(this, u"Copier et Quitter")),
      cmdActu(new forms::CommandButton(this, u"Actualiser")),
      cmdParam(new forms::CommandButton(this, u"Paramètre")), File1(new forms::FileListBox(this)),
      Label2(new forms::Label(this, u"Url Créer, Vous pouvez aussi glisser le fichier dans le "
                                    u"textbox.")),
      Label1(new forms::Label(this, u"Fichiers dans le répertoire :")) {
    setWindowTitle(forms::ToQString(product::TitleWithMaker(product::Name)));
    setWindowIcon(QIcon(QStringLiteral(":/icons/main_window.png")));

    forms::Place(*txtAdr, TwipsRect(3360, 240, 6255, 4215), BoldText);
    forms::Place(*cmdCopy, TwipsRect(3360, 4440, 6255, 375), ButtonText);
    forms::Place(*cmdActu, TwipsRect(1800, 4440, 1575, 375), ButtonText);
    forms::Place(*cmdParam, TwipsRect(0, 4440, 1815, 375), ButtonText);
    forms::Place(*File1, TwipsRect(0, 240, 3375, 4185), BoldText);
    forms::Place(*Label2, TwipsRect(3360, 0, 6255, 255), BoldText);
    forms::Place(*Label1, TwipsRect(0, 0, 3375, 255), BoldText);
    for (forms::Label* label : {Label1, Label2})
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->LabelFor(*File1);
    Label2->LabelFor(*txtAdr);

    setTabOrder(cmdCopy, File1);
    setTabOrder(File1, txtAdr);
    setTabOrder(txtAdr, cmdActu);
    setTabOrder(cmdActu, cmdParam);
    cmdCopy->setFocus();

    connect(File1, &forms::FileListBox::DblClick, this, &frmMain::File1_DblClick);
    connect(File1, &forms::FileListBox::KeyDown, this, &frmMain::File1_KeyDown);
    connect(&File1->Drops(), &forms::FileDropFilter::OLEDragDrop, this,
            &frmMain::File1_OLEDragDrop);
    connect(&txtAdr->Drops(), &forms::FileDropFilter::OLEDragDrop, this,
            &frmMain::txtAdr_OLEDragDrop);
    connect(cmdActu, &QPushButton::clicked, this, &frmMain::cmdActu_Click);
    connect(cmdCopy, &QPushButton::clicked, this, &frmMain::cmdCopy_Click);
    connect(cmdParam, &QPushButton::clicked, this, &frmMain::cmdParam_Click);
}

#include "app/product.h"
#include "ui/settings/settings_window.h"

#include "forms/twips.h"

#include <QIcon>

using forms::TwipsRect;

namespace {

constexpr forms::FontStyle BoldText{u"MS Sans Serif", 8.25, true};
constexpr forms::FontStyle ButtonText{u"MS Sans Serif", 13.5, true};
constexpr forms::FontStyle LinkText{u"Arial", 9, true, true, true};

std::u16string SiteCaption() {
    return u"Site Web Du Créateur: " + std::u16string(product::Maker) + u" ( " +
           std::u16string(product::MakerSite) + u" )";
}

} // namespace

frmParam::frmParam()
    : Form({.clientWidthTwips = 6120, .clientHeightTwips = 1665, .minButton = false}),
      cmdCancel(new forms::CommandButton(this, u"Cancel")),
      txtURL(new forms::TextBox(this, u"http://www.")),
      cmdSave(new forms::CommandButton(this, u"Enregistrer")),
      lblSite(new forms::LinkLabel(this, SiteCaption())),
      Label1(new forms::Label(
          this, u"Adresse De Base. ( Exemple : http://votre_site_web/dossiertemp/ )")) {
    setWindowTitle(QStringLiteral("Paramètre"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/settings_window.png")));

    forms::Place(*cmdCancel, TwipsRect(120, 960, 1815, 375), ButtonText);
    forms::Place(*txtURL, TwipsRect(120, 480, 5895, 405), BoldText);
    forms::Place(*cmdSave, TwipsRect(4200, 960, 1815, 375), ButtonText);
    forms::Place(*lblSite, TwipsRect(360, 1440, 5415, 300), LinkText);
    forms::Place(*Label1, TwipsRect(120, 120, 6015, 255), BoldText);

    // The site label looks like a link.
    QPalette link = lblSite->palette();
    link.setColor(QPalette::WindowText, QColor(0, 0, 255));
    lblSite->setPalette(link);
    lblSite->setCursor(Qt::PointingHandCursor);

    Label1->LabelFor(*txtURL);
    cmdCancel->SetCancel();

    setTabOrder(txtURL, cmdSave);
    setTabOrder(cmdSave, cmdCancel);
    setTabOrder(cmdCancel, lblSite);
    txtURL->setFocus();

    connect(txtURL, &forms::TextBox::KeyDown, this, &frmParam::txtURL_KeyDown);
    connect(cmdSave, &QPushButton::clicked, this, &frmParam::cmdSave_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmParam::cmdCancel_Click);
    connect(lblSite, &forms::LinkLabel::Click, this, &frmParam::lblSite_Click);
}

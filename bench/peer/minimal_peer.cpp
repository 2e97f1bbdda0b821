// The yardstick for the program's start-up: a minimal Qt program with the main window's layout,
// listing the files of its own folder.
#include "peer/peer_file_list.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// The main window's fonts: Liberation Sans stands in for the faces the layout names.
QFont LayoutFont(double points, bool bold) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

template <class Widget> Widget* Place(Widget* widget, const QRect& geometry, const QFont& font) {
    widget->setGeometry(geometry);
    widget->setFont(font);
    return widget;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QFont text = LayoutFont(8.25, true);
    const QFont buttons = LayoutFont(9.75, false);
    QWidget window;
    window.resize(639, 321);
    auto* files = Place(new PeerFileList(&window), {0, 16, 225, 279}, text);
    files->Fill(QCoreApplication::applicationDirPath());
    auto* box = Place(new QPlainTextEdit(&window), {224, 16, 417, 281}, text);
    box->setLineWrapMode(QPlainTextEdit::NoWrap);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Place(new QLabel(QStringLiteral("Fichiers dans le répertoire :"), &window), {0, 0, 225, 17},
          text);
    Place(new QLabel(QStringLiteral("Url Créer, Vous pouvez aussi glisser le fichier dans le "
                                    "textbox."),
                     &window),
          {224, 0, 417, 17}, text);
    Place(new QPushButton(QStringLiteral("Paramètre"), &window), {0, 296, 121, 25}, buttons);
    Place(new QPushButton(QStringLiteral("Actualiser"), &window), {120, 296, 105, 25}, buttons);
    Place(new QPushButton(QStringLiteral("Copier et Quitter"), &window), {224, 296, 417, 25},
          buttons);
    window.show();
    return QApplication::exec();
}

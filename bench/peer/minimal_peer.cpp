// The yardstick for the program's start-up: a minimal Qt program with the main window's layout,
// listing the files of its own folder.
#include "peer/peer_file_list.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QWidget window;
    window.resize(639, 321);
    auto* files = new PeerFileList(&window);
    files->setGeometry(0, 16, 225, 279);
    files->Fill(QCoreApplication::applicationDirPath());
    (new QPlainTextEdit(&window))->setGeometry(224, 16, 417, 281);
    (new QLabel(QStringLiteral("Fichiers dans le répertoire :"), &window))
        ->setGeometry(0, 0, 225, 17);
    (new QLabel(QStringLiteral("Url Créer, Vous pouvez aussi glisser le fichier dans le textbox."),
                &window))
        ->setGeometry(224, 0, 417, 17);
    (new QPushButton(QStringLiteral("Paramètre"), &window))->setGeometry(0, 296, 121, 25);
    (new QPushButton(QStringLiteral("Actualiser"), &window))->setGeometry(120, 296, 105, 25);
    (new QPushButton(QStringLiteral("Copier et Quitter"), &window))->setGeometry(224, 296, 417, 25);
    window.show();
    return QApplication::exec();
}

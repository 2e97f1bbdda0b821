#include "peer/peer_file_list.h"

#include <QDir>

PeerFileList::PeerFileList(QWidget* parent) : QListWidget(parent) {
    setUniformItemSizes(true);
}

void PeerFileList::Fill(const QString& folder) {
    const QStringList names =
        QDir(folder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    clear();
    addItems(names);
}

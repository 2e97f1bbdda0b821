#include "forms/file_list_box.h"

#include "forms/qt_text.h"
#include "settings/program_path.h"

#include <QDir>

namespace forms {

FileListBox::FileListBox(QWidget* parent)
    : QListWidget(parent), drops_(new FileDropFilter(*viewport())) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemDoubleClicked, this, &FileListBox::DblClick);
}

void FileListBox::SetPath(const std::u16string& path) {
    if (path == path_)
        return;
    path_ = path;
    stale_ = true;
    QMetaObject::invokeMethod(this, &FileListBox::RefreshIfStale, Qt::QueuedConnection);
}

void FileListBox::RefreshIfStale() {
    if (stale_)
        Refresh();
}

void FileListBox::Refresh() {
    stale_ = false;
    const QDir folder(ToQString(mdCode::ToNativePath(path_).u16string()));
    const QStringList names = folder.entryList(QDir::Files | QDir::NoDotAndDotDot,
                                               QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    clear();
    addItems(names);
}

std::u16string FileListBox::List(int index) const {
    const QListWidgetItem* entry = item(index);
    return entry == nullptr ? std::u16string() : FromQString(entry->text());
}

} // namespace forms

#include "forms/file_list_box.h"

#include "forms/focus_frame.h"
#include "forms/folder_listing.h"
#include "forms/qt_text.h"

namespace forms {
namespace {

constexpr int ExactNameRole = Qt::UserRole;

} // namespace

FileListBox::FileListBox(QWidget* parent)
    : QListWidget(parent), drops_(new FileDropFilter(*viewport())) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    MakeSelectionReadable(*this);
    new FocusFrame(*this);
    connect(this, &QListWidget::itemDoubleClicked, this, &FileListBox::DblClick);
}

void FileListBox::keyPressEvent(QKeyEvent* event) {
    const auto keyDown = [this](int& KeyCode, Qt::KeyboardModifiers Shift) {
        emit KeyDown(KeyCode, Shift);
    };
    if (!KeptByKeyDown(*event, keyDown))
        QListWidget::keyPressEvent(event);
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

// Each entry shows its file's name and keeps the exact name, which the shown text may lack.
void FileListBox::Refresh() {
    stale_ = false;
    clear();
    for (ListedFile& file : ListFolder(path_)) {
        auto* entry = new QListWidgetItem(std::move(file.shown));
        entry->setData(ExactNameRole, ToQString(file.name));
        addItem(entry);
    }
}

std::u16string FileListBox::List(int index) const {
    const QListWidgetItem* entry = item(index);
    return entry == nullptr ? std::u16string() : FromQString(entry->data(ExactNameRole).toString());
}

} // namespace forms

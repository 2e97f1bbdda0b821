#pragma once

#include "forms/dropped_files.h"

#include <QListWidget>
#include <string>

namespace forms {

// Lists the normal files of one folder (no hidden files, no folders), one name per entry,
// sorted as the user's language sorts, without regard to case, one entry selectable at a time.
class FileListBox final : public QListWidget {
    Q_OBJECT

public:
    explicit FileListBox(QWidget* parent);

    std::u16string Path() const { return path_; }
    // Points the list at a folder given in the program's form and lists it, unless the list
    // shows that folder already.
    void SetPath(const std::u16string& path);
    // Reads the folder again.
    void Refresh();

    // The entry's file name in the program's form; "" for an index that names no entry.
    std::u16string List(int index) const;
    // The current entry's index; -1 when there is none.
    int ListIndex() const { return currentRow(); }

    FileDropFilter& Drops() { return *drops_; }

signals:
    void DblClick();

private:
    std::u16string path_;
    FileDropFilter* drops_;
};

} // namespace forms

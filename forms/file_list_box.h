#pragma once

#include "forms/dropped_files.h"
#include "forms/key_down.h"

#include <QListWidget>
#include <string>

namespace forms {

// Lists the normal files of one folder (no hidden files, no folders), one name per entry,
// sorted as the user's language sorts, without regard to case, one entry selectable at a time.
// KeyDown runs before the list handles a key; a handler that sets the key code to 0 keeps the key
// from the list. A frame shows the list's focus; the selected entry is readable.
class FileListBox final : public QListWidget {
    Q_OBJECT

public:
    explicit FileListBox(QWidget* parent);

    std::u16string Path() const { return path_; }
    // Points the list at a folder given in the program's form, unless the list shows that folder
    // already. The folder is read once waiting events run, or sooner by Refresh, so that setting
    // the path and refreshing right after reads the folder only once.
    void SetPath(const std::u16string& path);
    // Reads the folder again, now.
    void Refresh();

    // The entry's file name in the program's form; "" for an index that names no entry.
    std::u16string List(int index) const;
    // The current entry's index; -1 when there is none.
    int ListIndex() const { return currentRow(); }

    FileDropFilter& Drops() { return *drops_; }

signals:
    void DblClick();
    void KeyDown(int& KeyCode, Qt::KeyboardModifiers Shift);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void RefreshIfStale();

    std::u16string path_;
    bool stale_ = false;
    FileDropFilter* drops_;
};

} // namespace forms

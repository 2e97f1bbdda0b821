#pragma once

#include <QListWidget>

// A file list as a minimal Qt program builds it: entries of one line each, of one height, and
// the normal files of a folder sorted by name as the user's language sorts, without regard to
// case.
class PeerFileList final : public QListWidget {
public:
    explicit PeerFileList(QWidget* parent);

    // Replaces the whole content with the folder's files.
    void Fill(const QString& folder);
};

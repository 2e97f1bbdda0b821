#pragma once

#include <QObject>
#include <optional>
#include <string>
#include <vector>

class QMimeData;
class QUrl;

namespace forms {

// Full paths in the program's form, in the order they were dropped.
using Files = std::vector<std::u16string>;

// The native path of the file that a URL names: a file URL of this machine, or a location that
// the desktop has mounted (see MountedPath); none for other URLs.
std::optional<std::string> LocalPathOf(const QUrl& url);

// Whether dragged data names a file of this machine; cheap enough to judge a drag as it enters.
bool CarriesLocalFiles(const QMimeData& data);

// The files of this machine that dragged data carries, each path resolved as the command line's
// (see App::Command); none for text, web links, file URLs of other hosts and other data.
Files DroppedFiles(const QMimeData& data);

// Takes over the drag and drop events of a control: drags that carry local files are accepted,
// as a copy or a link but never a move, and their drop reported; anything else is refused, so
// nothing is ever inserted by itself. A drag is judged once, as it enters: the moves that follow
// repeat that answer.
class FileDropFilter final : public QObject {
    Q_OBJECT

public:
    // Watches `control`, which must accept drops.
    explicit FileDropFilter(QWidget& control);

signals:
    void OLEDragDrop(const forms::Files& Files);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool dragCarriesFiles_ = false;
};

} // namespace forms

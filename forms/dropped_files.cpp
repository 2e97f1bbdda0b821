#include "forms/dropped_files.h"

#include "encoding/utf8.h"
#include "forms/app.h"
#include "forms/mounted_location.h"
#include "paths/program_path.h"
#include "paths/resolved_path.h"

#include <QDropEvent>
#include <QMimeData>
#include <QSysInfo>
#include <QUrl>
#include <QWidget>
#include <algorithm>

namespace forms {
namespace {

// A file URL names a file of this machine when it names no host, "localhost" or this host.
bool IsLocalFileUrl(const QUrl& url) {
    if (url.scheme() != QLatin1String("file"))
        return false;
    const QString host = url.host();
    return host.isEmpty() || host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0 ||
           host.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) == 0;
}

int HexValue(char16_t digit) {
    if (digit >= u'0' && digit <= u'9')
        return digit - u'0';
    if (digit >= u'A' && digit <= u'F')
        return digit - u'A' + 10;
    if (digit >= u'a' && digit <= u'f')
        return digit - u'a' + 10;
    return -1;
}

// The byte that the "%XX" at `at` stands for; -1 when there is none.
int EncodedByteAt(std::u16string_view units, std::size_t at) {
    if (units[at] != u'%' || at + 2 >= units.size())
        return -1;
    const int high = HexValue(units[at + 1]);
    const int low = HexValue(units[at + 2]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

// The path's native bytes. In every form but the fully decoded one, a URL keeps a byte that is
// not part of valid UTF-8 as "%XX" and a "%" as "%25": decoding each "%XX" to its byte and
// writing the rest in UTF-8 gives back every byte (a decoding into text would replace them).
std::string NativeBytes(const QUrl& url) {
    const QString path = url.path(QUrl::PrettyDecoded);
    const std::u16string_view units(reinterpret_cast<const char16_t*>(path.utf16()),
                                    static_cast<std::size_t>(path.size()));
    // Room for the most a unit gives: the three UTF-8 bytes of a character of the BMP.
    std::string bytes(units.size() * 3, '\0');
    char* out = bytes.data();
    for (std::size_t i = 0; i < units.size();) {
        if (const int encoded = EncodedByteAt(units, i); encoded >= 0) {
            *out++ = static_cast<char>(encoded);
            i += 3;
        } else if (units[i] < 0x80) {
            *out++ = static_cast<char>(units[i++]);
        } else {
            std::string character;
            i += mdCode::AppendUtf8Of(character, units, i);
            out = std::copy(character.begin(), character.end(), out);
        }
    }
    bytes.resize(static_cast<std::size_t>(out - bytes.data()));
    return bytes;
}

// Where the desktop has mounted the location that a URL of another scheme names (sftp://,
// smb://…); file URLs and web links never reach GIO: asking for a web link would mount its
// server, through GVFS, as the drag enters.
std::optional<std::string> MountedPathOf(const QUrl& url) {
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("file") || scheme == QLatin1String("http") ||
        scheme == QLatin1String("https"))
        return std::nullopt;
    return MountedPath(url.toEncoded().toStdString());
}

bool IsLocalFile(const QUrl& url) {
    return IsLocalFileUrl(url) || MountedPathOf(url).has_value();
}

// A drop only reads the names, so it takes a copy, or a link when the source offers a link but
// no copy; never a move, which tells the source that its files went away (it may then delete
// them). Qt answers a source only with an action that it offers: a drag offered as a move alone
// is refused. True when the event was accepted.
bool AcceptWithoutMove(QDropEvent& drop) {
    const Qt::DropActions offered = drop.possibleActions();
    if (offered.testFlag(Qt::CopyAction))
        drop.setDropAction(Qt::CopyAction);
    else if (offered.testFlag(Qt::LinkAction))
        drop.setDropAction(Qt::LinkAction);
    else
        return false;
    drop.accept();
    return true;
}

} // namespace

std::optional<std::string> LocalPathOf(const QUrl& url) {
    if (IsLocalFileUrl(url))
        return NativeBytes(url);
    return MountedPathOf(url);
}

bool CarriesLocalFiles(const QMimeData& data) {
    const QList<QUrl> urls = data.urls();
    return std::any_of(urls.begin(), urls.end(), IsLocalFile);
}

Files DroppedFiles(const QMimeData& data) {
    const QList<QUrl> urls = data.urls();
    mdCode::PathResolver resolver("/", mdCode::ToNativeBytes(App::Path()));
    Files files;
    files.reserve(static_cast<std::size_t>(urls.size()));
    for (const QUrl& url : urls) {
        if (const std::optional<std::string> path = LocalPathOf(url))
            files.push_back(mdCode::ToProgramForm(resolver.Resolved(*path)));
    }
    return files;
}

FileDropFilter::FileDropFilter(QWidget& control) : QObject(&control) {
    control.setAcceptDrops(true);
    control.installEventFilter(this);
}

bool FileDropFilter::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (event->type() == QEvent::DragEnter)
            dragCarriesFiles_ = CarriesLocalFiles(*drag->mimeData());
        if (!dragCarriesFiles_ || !AcceptWithoutMove(*drag))
            drag->ignore();
        return true;
    }
    case QEvent::DragLeave:
        return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const Files files = DroppedFiles(*drop->mimeData());
        if (files.empty() || !AcceptWithoutMove(*drop)) {
            drop->ignore();
            return true;
        }
        emit OLEDragDrop(files);
        return true;
    }
    default:
        return false;
    }
}

} // namespace forms

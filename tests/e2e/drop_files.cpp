// Drops files on the real main window, as a file manager would, and writes what the address box
// then holds. The end-to-end test uses it where a drag cannot be made: there is no file manager
// on its private X server.
//
// Usage: drop_files <program folder> <file of NUL-separated paths> <output for the address box>
//                   <output for the list>
// Both drops carry every path, in order, as a file manager's "text/uri-list": file URLs whose
// path is the percent-encoded native bytes. An entry that is not an absolute path is a URL
// already (sftp://… as a file manager sends a remote file) and goes as it is. Each output is
// the box's text in UTF-8.

#include "forms/app.h"
#include "forms/application.h"
#include "forms/form.h"
#include "forms/qt_text.h"
#include "paths/program_path.h"
#include "support/drop_events.h"
#include "ui/main/main_window.h"

#include <QFile>
#include <QMimeData>
#include <cstdio>

namespace {

QByteArray ReadAll(const char* path) {
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(std::string("cannot read ") + path);
    return file.readAll();
}

QByteArray UriList(const QByteArray& nulSeparatedPaths) {
    QByteArray list;
    for (const QByteArray& path : nulSeparatedPaths.split('\0')) {
        if (path.startsWith('/'))
            list += "file://" + path.toPercentEncoding("/") + "\r\n";
        else if (!path.isEmpty())
            list += path + "\r\n";
    }
    return list;
}

// Empties the box, drops the files on the control and writes the box's text.
void DropAndWrite(frmMain& window, QWidget& control, const QByteArray& uriList,
                  const char* output) {
    window.txtAdr->SetText(u"");
    QMimeData data;
    data.setData(QStringLiteral("text/uri-list"), uriList);
    DropOn(control, data);
    QFile file(QFile::decodeName(output));
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(forms::ToQString(window.txtAdr->Text()).toUtf8()) < 0)
        throw std::runtime_error(std::string("cannot write ") + output);
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 5) {
        std::fputs("usage: drop_files FOLDER PATHS BOX_OUTPUT LIST_OUTPUT\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    forms::Application application(1, argv);
    forms::App::Override(forms::App::Setting{mdCode::ToProgramForm(argv[1]), u""});
    frmMain& window = forms::Form::Show<frmMain>();
    const QByteArray uriList = UriList(ReadAll(argv[2]));
    DropAndWrite(window, *window.txtAdr->viewport(), uriList, argv[3]);
    DropAndWrite(window, *window.File1->viewport(), uriList, argv[4]);
    return 0;
}

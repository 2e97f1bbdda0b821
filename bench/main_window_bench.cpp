#include "paired_times.h"
#include "peer/peer_file_list.h"
#include "peer/plain_drop_box.h"
#include "support/drop_events.h"
#include "support/program_sandbox.h"

#include "forms/clipboard.h"
#include "forms/form.h"
#include "forms/qt_text.h"
#include "ui/main/main_window.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QPointer>
#include <QUrl>
#include <benchmark/benchmark.h>

#include <QTest>

namespace {

const QByteArray BaseAddress = QByteArrayLiteral("http://example.org/tmp/");
const QString ListedFile = QStringLiteral("photo 1.jpg");
constexpr int DropBoxLines = 1000;

// What a user has gathered in the address box: `count` addresses, one a line.
std::u16string AddressLines(int count) {
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines.push_back(QString::fromLatin1(BaseAddress) + QStringLiteral("fichier%20") +
                        QString::number(i) + QStringLiteral(".txt"));
    return forms::FromQString(lines.join(u"\r\n"));
}

qsizetype LineCount(const std::u16string& text) {
    constexpr std::u16string_view lineBreak = u"\r\n";
    qsizetype breaks = 0;
    for (auto at = text.find(lineBreak); at != std::u16string::npos;
         at = text.find(lineBreak, at + lineBreak.size()))
        ++breaks;
    return text.empty() ? 0 : breaks + 1;
}

// Files of the program folder as a file window drags them; they need not exist.
QList<QUrl> ProgramFolderFiles(const ProgramSandbox& program, int count) {
    QList<QUrl> urls;
    for (int i = 0; i < count; ++i)
        urls.push_back(
            QUrl::fromLocalFile(program.NativePath(QStringLiteral("déposé %1.txt").arg(i))));
    return urls;
}

// Starts the program in its folder, with the base address stored and one file to list.
QPointer<frmMain> Start(ProgramSandbox& program) {
    program.CreateFile(QStringLiteral("PARAM.ini"), BaseAddress + "\r\n");
    program.CreateFile(ListedFile);
    program.Start();
    return forms::Form::Loaded<frmMain>();
}

// Whether the window is still there and nothing went wrong; a skipped benchmark otherwise.
bool StillRunning(benchmark::State& state, const ProgramSandbox& program,
                  const QPointer<frmMain>& window) {
    if (!program.messages.empty())
        state.SkipWithError(("message box: " + forms::ToQString(program.messages.front().text))
                                .toStdString()
                                .c_str());
    else if (!program.endCodes.empty())
        state.SkipWithError("the program ended");
    else if (window.isNull())
        state.SkipWithError("the main window is not loaded");
    else
        return true;
    return false;
}

// Timed: the drag-enter and drop events on the address box, then the waiting events (the
// repaint) they leave, against a plain Qt text box that appends the dropped files' local paths,
// of the same size and font and holding the same lines.
void DropAgainstPlainQt(benchmark::State& state) {
    ProgramSandbox program;
    const QPointer<frmMain> window = Start(program);
    if (!StillRunning(state, program, window))
        return;
    const int fileCount = static_cast<int>(state.range(0));
    const std::u16string lines = AddressLines(DropBoxLines);
    QMimeData data;
    data.setUrls(ProgramFolderFiles(program, fileCount));
    QWidget peerWindow;
    PlainDropBox peerBox(&peerWindow);
    peerBox.setGeometry(window->txtAdr->geometry());
    peerBox.setFont(window->txtAdr->font());
    peerWindow.show();

    PairedTimes times;
    bool dropped = true;
    for (auto _ : state) {
        window->txtAdr->SetText(lines);
        peerBox.setPlainText(forms::ToQString(lines));
        ProgramSandbox::Settle();
        times.Program(state, [&] {
            dropped = DropOn(*window->txtAdr->viewport(), data) && dropped;
            ProgramSandbox::Settle();
        });
        times.Peer([&] {
            DropOn(*peerBox.viewport(), data);
            ProgramSandbox::Settle();
        });
    }
    if (!dropped)
        state.SkipWithError("the address box refused the drop");
    else if (StillRunning(state, program, window) &&
             LineCount(window->txtAdr->Text()) != DropBoxLines + fileCount)
        state.SkipWithError("the drop did not add one line per file");
    times.Report(state, "lirvane_ms", "plain_qt_ms", 1e3);
}
BENCHMARK(DropAgainstPlainQt)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Arg(10000)
    ->Arg(100000);

// Timed: the mouse events of the double-click and the whole handler, clipboard sequence and
// its yields included, then the waiting events it leaves. The box starts with as many lines as
// the argument says and gains one per double-click.
void DoubleClickIntoFullBox(benchmark::State& state) {
    ProgramSandbox program;
    const QPointer<frmMain> window = Start(program);
    if (!StillRunning(state, program, window))
        return;
    const auto entries = window->File1->findItems(ListedFile, Qt::MatchExactly);
    if (entries.size() != 1) {
        state.SkipWithError("the file list does not show the program folder's file");
        return;
    }
    const QPoint entryCentre = window->File1->visualItemRect(entries.front()).center();
    const int boxLines = static_cast<int>(state.range(0));
    window->txtAdr->SetText(AddressLines(boxLines));
    ProgramSandbox::Settle();

    for (auto _ : state) {
        QTest::mouseDClick(window->File1->viewport(), Qt::LeftButton, {}, entryCentre);
        ProgramSandbox::Settle();
    }
    const std::u16string address =
        forms::FromQString(QString::fromLatin1(BaseAddress)) + u"photo%201.jpg";
    if (StillRunning(state, program, window) &&
        (LineCount(window->txtAdr->Text()) != boxLines + state.iterations() ||
         forms::Clipboard::GetText() != address))
        state.SkipWithError("the double-click did not add and copy the entry's address");
}
BENCHMARK(DoubleClickIntoFullBox)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Arg(1000)
    ->Arg(100000);

// Timed: one drag-move event over the address box, in a drag of as many files of the program
// folder as the argument says that has already entered it.
void DragMoveOverAddressBox(benchmark::State& state) {
    ProgramSandbox program;
    const QPointer<frmMain> window = Start(program);
    if (!StillRunning(state, program, window))
        return;
    QMimeData data;
    data.setUrls(ProgramFolderFiles(program, static_cast<int>(state.range(0))));
    QWidget& box = *window->txtAdr->viewport();
    const QPoint centre = box.rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&box, &enter);

    for (auto _ : state) {
        QDragMoveEvent move(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&box, &move);
        if (!move.isAccepted()) {
            state.SkipWithError("the address box refused the drag");
            break;
        }
    }
    QDragLeaveEvent leave;
    QApplication::sendEvent(&box, &leave);
}
BENCHMARK(DragMoveOverAddressBox)->Unit(benchmark::kMicrosecond)->UseRealTime()->Arg(100000);

// Timed: "Actualiser" on a program folder of as many files as the argument says, then the waiting
// events (the repaint), against a minimal program's list of the same size and font refilled from
// the same folder.
void RefreshAgainstPeer(benchmark::State& state) {
    ProgramSandbox program;
    // With the settings file and the listed file, the folder holds as many files as asked.
    for (int i = 2; i < state.range(0); ++i)
        program.CreateFile(QStringLiteral("fichier %1.txt").arg(i, 6, 10, QLatin1Char('0')));
    const QPointer<frmMain> window = Start(program);
    if (!StillRunning(state, program, window))
        return;
    QWidget peerWindow;
    PeerFileList peerList(&peerWindow);
    peerList.setGeometry(window->File1->geometry());
    peerList.setFont(window->File1->font());
    peerWindow.show();
    const QString folder = program.NativePath(QStringLiteral("."));
    ProgramSandbox::Settle();

    PairedTimes times;
    for (auto _ : state) {
        times.Program(state, [&] {
            window->cmdActu->click();
            ProgramSandbox::Settle();
        });
        times.Peer([&] {
            peerList.Fill(folder);
            ProgramSandbox::Settle();
        });
    }
    if (StillRunning(state, program, window) && window->File1->count() != state.range(0))
        state.SkipWithError("the list does not show the program folder");
    times.Report(state, "lirvane_ms", "peer_ms", 1e3);
}
BENCHMARK(RefreshAgainstPeer)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(9)
    ->Arg(100000);

} // namespace

// Run under callgrind by performance_guard.sh, never on its own: does one piece of the program and
// the same piece of its peer, after a warm-up run of each, and has callgrind count each apart.
// Instrumentation starts after the set-up; each count is collected around its piece alone and
// written as a dump named after it ("lirvane", "peer").
//
//   lirvane_instruction_probe drop FILE_COUNT    a drop of files on the address box, against a
//                                                plain Qt text box; the repaint it leaves included
//   lirvane_instruction_probe encode UNITS       EncodeUrl on accented French text, against a
//                                                one-pass table encoder
#include "peer/plain_drop_box.h"
#include "peer/table_encoder.h"
#include "sample_names.h"
#include "support/drop_events.h"
#include "support/program_sandbox.h"

#include "address/encode_url.h"
#include "forms/application.h"
#include "forms/form.h"
#include "forms/qt_text.h"
#include "ui/main/main_window.h"

#include <QApplication>
#include <QMimeData>
#include <QPointer>
#include <QUrl>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <valgrind/callgrind.h>

namespace {

template <class Work> void Count(const char* name, Work&& work) {
    CALLGRIND_TOGGLE_COLLECT;
    work();
    CALLGRIND_TOGGLE_COLLECT;
    CALLGRIND_DUMP_STATS_AT(name);
}

// Both run once uninstrumented, so that neither pays for what the first run of anything sets up
// (fonts, glyphs, tables), then once counted.
template <class Program, class Peer> void CountPair(Program&& program, Peer&& peer) {
    program();
    peer();
    CALLGRIND_START_INSTRUMENTATION;
    Count("lirvane", program);
    Count("peer", peer);
    CALLGRIND_STOP_INSTRUMENTATION;
}

int Drop(int argc, char** argv, int fileCount) {
    forms::Application application(argc, argv);
    // A blinking cursor repaints on a timer, in whichever box has the focus, as often as the run
    // is slow: it would make the counts differ from run to run and from one side to the other.
    QApplication::setCursorFlashTime(0);
    ProgramSandbox program;
    program.CreateFile(QStringLiteral("PARAM.ini"), "http://example.org/tmp/\r\n");
    program.Start();
    const QPointer<frmMain> window = forms::Form::Loaded<frmMain>();
    if (window.isNull()) {
        std::fputs("the main window is not loaded\n", stderr);
        return 1;
    }
    QList<QUrl> urls;
    for (int i = 0; i < fileCount; ++i)
        urls.push_back(
            QUrl::fromLocalFile(program.NativePath(QStringLiteral("déposé %1.txt").arg(i))));
    QMimeData data;
    data.setUrls(urls);
    QWidget peerWindow;
    PlainDropBox peerBox(&peerWindow);
    peerBox.setGeometry(window->txtAdr->geometry());
    peerBox.setFont(window->txtAdr->font());
    peerWindow.show();
    ProgramSandbox::Settle();

    bool dropped = true;
    CountPair(
        [&] {
            window->txtAdr->SetText(u"");
            dropped = DropOn(*window->txtAdr->viewport(), data) && dropped;
            ProgramSandbox::Settle();
        },
        [&] {
            peerBox.clear();
            DropOn(*peerBox.viewport(), data);
            ProgramSandbox::Settle();
        });
    if (!dropped || window->txtAdr->Text().empty()) {
        std::fputs("the address box refused the drop\n", stderr);
        return 1;
    }
    return 0;
}

int Encode(std::size_t units) {
    const std::u16string text = AccentedFrenchText(units);
    std::u16string encoded;
    std::u16string peerEncoded;
    CountPair([&] { encoded = mdCode::EncodeUrl(text); }, [&] { peerEncoded = TableEncode(text); });
    if (encoded != peerEncoded) {
        std::fputs("EncodeUrl and the table encoder disagree\n", stderr);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string piece = argc == 3 ? argv[1] : "";
    if (piece == "drop")
        return Drop(argc, argv, std::atoi(argv[2]));
    if (piece == "encode")
        return Encode(static_cast<std::size_t>(std::atol(argv[2])));
    std::fputs("usage: lirvane_instruction_probe drop FILE_COUNT | encode UNITS\n", stderr);
    return 2;
}

#include "forms/application.h"

#include <benchmark/benchmark.h>

// The windows are built offscreen: no display is needed.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    forms::Application application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lirvane"));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#include "forms/application.h"

#include <gtest/gtest.h>

// The windows are built offscreen: no display is needed.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    forms::Application application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lirvane"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

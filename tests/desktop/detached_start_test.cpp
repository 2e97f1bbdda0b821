#include "desktop/detached_start.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// The file's content once it has the expected size, or what it holds after 5 s.
QByteArray ContentOnceWritten(const QString& fileName, qsizetype size) {
    const QDeadlineTimer deadline(5000);
    QFile file(fileName);
    while (!deadline.hasExpired() && file.size() < size)
        QThread::msleep(10);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

TEST(DetachedStartTest, TheProgramReadsTheWholeInputOnItsStandardInput) {
    QTemporaryDir folder;
    const QString copy = folder.filePath(QStringLiteral("copy"));
    // More than a socket buffer holds, with bytes that a text conversion would change.
    QByteArray input(1 << 20, 'a');
    input.append("\r\n\0€", 6);

    ASSERT_TRUE(desktop::StartDetached({.program = "sh",
                                      .arguments = {"sh", "-c", "cat >\"$0\"", copy.toLocal8Bit()},
                                      .input = input}));
    EXPECT_EQ(ContentOnceWritten(copy, input.size()), input);
}

TEST(DetachedStartTest, AMissingProgramIsReported) {
    EXPECT_FALSE(desktop::StartDetached(
        {.program = "/nonexistent/program", .arguments = {"program"}, .input = "text"}));
}

TEST(DetachedStartTest, AProgramThatDoesNotReadItsInputIsGivenUpOn) {
    QElapsedTimer waited;
    waited.start();
    EXPECT_FALSE(desktop::StartDetached(
        {.program = "sleep", .arguments = {"sleep", "30"}, .input = QByteArray(1 << 24, 'a')}));
    EXPECT_LT(waited.elapsed(), 10'000);
}

} // namespace

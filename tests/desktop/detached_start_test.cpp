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

    // It starts reading late: what could not be written at once is written later, from where it
    // stopped.
    ASSERT_TRUE(desktop::StartDetached(
        {.program = "sh",
         .arguments = {"sh", "-c", "sleep 0.5; cat >\"$0\"", copy.toLocal8Bit()},
         .input = input}));
    EXPECT_EQ(ContentOnceWritten(copy, input.size()), input);
}

TEST(DetachedStartTest, AMissingProgramIsReported) {
    EXPECT_FALSE(desktop::StartDetached(
        {.program = "/nonexistent/program", .arguments = {"program"}, .input = "text"}));
}

// It is ended, not left running with part of the input.
TEST(DetachedStartTest, AProgramThatDoesNotReadItsInputIsGivenUpOnAndEnded) {
    QTemporaryDir folder;
    const QString marker = folder.filePath(QStringLiteral("marker"));
    QElapsedTimer waited;
    waited.start();
    EXPECT_FALSE(desktop::StartDetached(
        {.program = "sh",
         .arguments = {"sh", "-c", "sleep 4; touch \"$0\"", marker.toLocal8Bit()},
         .input = QByteArray(1 << 24, 'a')}));
    EXPECT_LT(waited.elapsed(), 4'000);
    QThread::msleep(static_cast<unsigned long>(5'000 - waited.elapsed()));
    EXPECT_FALSE(QFile::exists(marker));
}

} // namespace

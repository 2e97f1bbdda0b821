#include "desktop/detached_start.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

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

// Puts /dev/null at the descriptor number, open across exec as a caller's descriptor is, and
// puts back what was there when it goes.
class CallersDescriptor final {
public:
    explicit CallersDescriptor(int number)
        : number_(number), saved_(fcntl(number, F_DUPFD_CLOEXEC, 0)),
          savedFlags_(fcntl(number, F_GETFD)) {
        const int null = open("/dev/null", O_RDONLY);
        dup2(null, number_);
        close(null);
    }
    CallersDescriptor(const CallersDescriptor&) = delete;
    CallersDescriptor& operator=(const CallersDescriptor&) = delete;
    ~CallersDescriptor() {
        if (saved_ < 0) {
            close(number_);
            return;
        }
        dup2(saved_, number_);
        fcntl(number_, F_SETFD, savedFlags_);
        close(saved_);
    }

private:
    int number_;
    int saved_;
    int savedFlags_;
};

TEST(DetachedStartTest, TheProgramGetsNoOtherDescriptorAndTheEnvironmentsBytes) {
    // The first descriptor after standard error, and one far above.
    for (const int inherited : {3, 1000}) {
        QTemporaryDir folder;
        const QString report = folder.filePath(QStringLiteral("report"));
        // A value that is not UTF-8.
        qputenv("LIRVANE_TEST_VALUE", "/home/caf\xE9");
        bool started = false;
        {
            const CallersDescriptor callers(inherited);
            started = desktop::StartDetached(
                {.program = "sh",
                 .arguments = {"sh", "-c",
                               "if [ -e /proc/$$/fd/$1 ]; then held=held; else held=closed; fi; "
                               "echo $held \"$LIRVANE_TEST_VALUE\" >\"$0\"",
                               report.toLocal8Bit(), QByteArray::number(inherited)},
                 .input = {}});
        }
        qunsetenv("LIRVANE_TEST_VALUE");

        ASSERT_TRUE(started) << inherited;
        const QByteArray expected = "closed /home/caf\xE9\n";
        EXPECT_EQ(ContentOnceWritten(report, expected.size()), expected) << inherited;
    }
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

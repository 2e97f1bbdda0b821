#pragma once

#include <QString>
#include <QTemporaryDir>
#include <vector>

class frmMain;

// The program started from a temporary folder of its own, holding PARAM.ini with the base
// address `baseUrl` and the empty files named in `files`. Message boxes and the end of the program
// are recorded instead of blocking or leaving; the main window is unloaded again when this goes.
class RunningProgram final {
public:
    RunningProgram(const QByteArray& baseUrl, const std::vector<QString>& files);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // Native path of a name inside the program folder; the file need not exist.
    QString NativePath(const QString& name) const;

    // The main window; nullptr once it has been unloaded.
    frmMain* Window() const;

    // Why the run went wrong: the first message box or program end; "" while all is well.
    QString Trouble() const;

    // Runs waiting events, deferred deletions included.
    static void Settle();

private:
    void CreateFile(const QString& name, const QByteArray& content);

    QTemporaryDir folder_;
    std::vector<QString> troubles_;
};

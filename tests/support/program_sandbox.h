#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <string>
#include <vector>

// The program run in a temporary folder of its own, as if its executable lay there. Message boxes
// are recorded instead of shown, and ending the program is recorded instead of leaving the
// process. Every window is unloaded and the real behaviour restored when this goes.
class ProgramSandbox final {
public:
    struct Message {
        std::u16string text;
        int flags;
        std::u16string title;
    };

    ProgramSandbox();
    ~ProgramSandbox();
    ProgramSandbox(const ProgramSandbox&) = delete;
    ProgramSandbox& operator=(const ProgramSandbox&) = delete;

    // The program folder in the program's form, and a native path inside it.
    std::u16string ProgramFolder() const;
    QString NativePath(const QString& name) const;

    void CreateFile(const QString& name, const QByteArray& content = {});
    void CreateFolder(const QString& name);

    // Starts the program with this command line: loads the main window.
    void Start(const std::u16string& commandLine = u"");

    // Ends the program: every window is unloaded and destroyed.
    void End();

    // Runs waiting events, deferred deletions included.
    static void Settle();

    std::vector<Message> messages;
    std::vector<int> endCodes;

private:
    QTemporaryDir folder_;
};

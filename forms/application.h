#pragma once

#include <QApplication>
#include <string>
#include <vector>

namespace forms {

// The application object. A failure that escapes an event handler is a run-time error: it is
// shown in a stop message box naming the error, and the program ends with exit code 1.
// Every argument after the program's name belongs to the user: Qt sees the program's name only,
// so that a file named "-style" is a file (Qt's own settings come from the environment).
class Application final : public QApplication {
    Q_OBJECT

public:
    Application(int argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // The arguments after the program's name, as the native bytes they were passed as.
    static const std::vector<std::string>& UserArguments() { return userArguments_; }

private:
    inline static int programNameOnly_ = 1;
    inline static std::vector<std::string> userArguments_;
};

void ReportRunTimeError(const std::u16string& message);

} // namespace forms

#pragma once

#include <QApplication>

namespace forms {

// The application object. A failure that escapes an event handler is a run-time error: it is
// shown in a stop message box naming the error, and the program ends with exit code 1.
class Application final : public QApplication {
    Q_OBJECT

public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

void ReportRunTimeError(const std::u16string& message);

} // namespace forms

#pragma once

#include "forms/form.h"
#include "support/drop_events.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// Runs the real windows offscreen in a program folder of their own. Message boxes are recorded
// instead of shown, and ending the program is recorded instead of leaving the test.
// The main window's caption once loaded.
inline constexpr char16_t VersionCaption[] =
    u"Lirvane 1.0.1 By Odrasque ( http://www.odrasque.example/ )";

class frmMain;
class frmParam;

class WindowTest : public ::testing::Test {
protected:
    struct Message {
        std::u16string text;
        int flags;
        std::u16string title;
    };

    void SetUp() override;
    void TearDown() override;

    // The program folder in the program's form, and a native path inside it.
    std::u16string ProgramFolder() const;
    QString NativePath(const QString& name) const;

    void CreateFile(const QString& name, const QByteArray& content = {});
    void CreateFolder(const QString& name);
    void WriteSettings(const QByteArray& content);
    QByteArray SettingsBytes() const;

    // Starts the program as if from its folder with this command line: loads the main window.
    void Start(const std::u16string& commandLine = u"");

    frmMain& Main() { return Window<frmMain>(); }
    frmParam& Settings() { return Window<frmParam>(); }

    // The names the main window's file list shows, in order.
    QStringList ListedFiles();

    // Clicks the control with the mouse, then lets the events it causes run.
    static void Click(QWidget& control);

    // The loaded form of type T; fails the test when there is none.
    template <class T> T& Window() {
        T* form = forms::Form::Loaded<T>();
        if (form == nullptr)
            throw std::logic_error("the window is not loaded");
        return *form;
    }

    // Runs waiting events, deferred deletions included.
    static void Settle();

    std::vector<Message> messages;
    std::vector<int> endCodes;

private:
    QTemporaryDir folder_;
};

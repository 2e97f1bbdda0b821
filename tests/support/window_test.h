#pragma once

#include "forms/form.h"
#include "support/drop_events.h"
#include "support/program_sandbox.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <string>
#include <vector>

// The main window's caption once loaded.
inline constexpr char16_t VersionCaption[] =
    u"Lirvane 1.0.1 By Odrasque ( http://www.odrasque.example/ )";

class frmMain;
class frmParam;

// Runs the real windows offscreen in a program folder of their own (see ProgramSandbox), and
// checks after each test that no window is left open.
class WindowTest : public ::testing::Test {
private:
    ProgramSandbox program_;

protected:
    using Message = ProgramSandbox::Message;

    void SetUp() override;
    void TearDown() override;

    std::u16string ProgramFolder() const { return program_.ProgramFolder(); }
    QString NativePath(const QString& name) const { return program_.NativePath(name); }
    void CreateFile(const QString& name, const QByteArray& content = {}) {
        program_.CreateFile(name, content);
    }
    void CreateFolder(const QString& name) { program_.CreateFolder(name); }
    void WriteSettings(const QByteArray& content) { CreateFile("PARAM.ini", content); }
    QByteArray SettingsBytes() const;

    void Start(const std::u16string& commandLine = u"") { program_.Start(commandLine); }

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

    static void Settle() { ProgramSandbox::Settle(); }

    std::vector<Message>& messages = program_.messages;
    std::vector<int>& endCodes = program_.endCodes;
};

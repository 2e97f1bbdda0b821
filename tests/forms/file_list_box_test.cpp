#include "forms/file_list_box.h"

#include "forms/qt_text.h"
#include "paths/program_path.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class FileListBoxTest : public ::testing::Test {
protected:
    void CreateFile(const QTemporaryDir& folder, const QString& name) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    static std::u16string ProgramForm(const QTemporaryDir& folder) {
        return mdCode::ToProgramForm(QFile::encodeName(folder.path()).toStdString());
    }

    QStringList Entries() const {
        QStringList names;
        for (int i = 0; i < list.count(); ++i)
            names << list.item(i)->text();
        return names;
    }

    forms::FileListBox list{nullptr};
};

TEST_F(FileListBoxTest, SettingThePathListsTheFolderOnceEventsRun) {
    QTemporaryDir folder;
    CreateFile(folder, "a.txt");

    list.SetPath(ProgramForm(folder));
    QCoreApplication::processEvents();
    EXPECT_EQ(Entries(), QStringList({"a.txt"}));

    // The same path again does not read the folder again; a refresh does.
    CreateFile(folder, "b.txt");
    list.SetPath(ProgramForm(folder));
    QCoreApplication::processEvents();
    EXPECT_EQ(Entries(), QStringList({"a.txt"}));
    list.Refresh();
    EXPECT_EQ(Entries(), QStringList({"a.txt", "b.txt"}));
}

TEST_F(FileListBoxTest, ARefreshRightAfterSettingThePathListsTheNewFolderAtOnce) {
    QTemporaryDir first, second;
    CreateFile(first, "first.txt");
    CreateFile(second, "second.txt");
    list.SetPath(ProgramForm(first));
    list.Refresh();
    EXPECT_EQ(Entries(), QStringList({"first.txt"}));

    list.SetPath(ProgramForm(second));
    list.Refresh();
    EXPECT_EQ(Entries(), QStringList({"second.txt"}));
    // The listing that setting the path asked for finds nothing left to do.
    CreateFile(second, "later.txt");
    QCoreApplication::processEvents();
    EXPECT_EQ(Entries(), QStringList({"second.txt"}));
}

} // namespace

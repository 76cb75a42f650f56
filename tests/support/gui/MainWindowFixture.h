#pragma once

#include "ScriptedDialogs.h"
#include "mainwindow/ProgramEnvironment.h"

#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class XMLDatabase;
class frmSitePins;
struct frmSitePinsUi;

// A program folder of its own with a library in it, settings of its own,
// and the real main window started on them offscreen, its dialogs answered
// by a script.
class MainWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    QString programFolder() const { return m_folder.path(); }
    QString libraryPath() const;
    void writeLibrary(const QString &text);
    void writeLibraryBody(const QString &body);
    void setStoredTabIndex(const QString &value);
    QString storedTabIndex() const;

    // Prepares and shows the main window, as the program's start does.
    frmSitePins &start();
    frmSitePins &window() { return *m_window; }
    frmSitePinsUi &ui();

    // What is on disk now, read afresh.
    std::unique_ptr<XMLDatabase> reopenLibrary() const;

    QTreeWidgetItem *folderNode(const QString &name) const;
    QTreeWidgetItem *entry(QTreeWidget *list, const QString &name) const;
    QStringList entryNames(QTreeWidget *list) const;
    QStringList childNames(QTreeWidgetItem *node) const;
    void clickItem(QTreeWidget *tree, QTreeWidgetItem *item);
    void clickFolder(const QString &name);
    void clickSitePin(const QString &name);
    void runMenu(const QString &name);
    void clickToolbarButton(int index);
    bool isEnabled(const QString &menuElement) const;
    bool isButtonEnabled(int index) const;

    ScriptedDialogs m_dialogs;
    RecordingDesktop m_desktop;
    ProgramEnvironment m_environment;
    int m_endProgramCalls = 0;

private:
    QTemporaryDir m_folder;
    QTemporaryDir m_config;
    std::unique_ptr<frmSitePins> m_window;
};

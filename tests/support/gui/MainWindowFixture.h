#pragma once

// Also everything a test reaches through the window's ui(), so that test
// files include only what is particular to them.
#include "LibraryText.h"
#include "ScriptedDialogs.h"
#include "layout/CommandSurface.h"
#include "layout/SplitterWidget.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/NotifyingLabel.h"
#include "mainwindow/PanelStatusBar.h"
#include "mainwindow/ProgramEnvironment.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "platform/StateField.h"
#include "store/XMLDatabase.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

// A program folder of its own with a library in it, settings of its own,
// and the real main window started on them offscreen, its dialogs answered
// by a script.
class MainWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override { m_window.reset(); }

    QString programFolder() const { return m_folder.path(); }
    QString libraryPath() const { return m_folder.path() + QStringLiteral("/MySitePins/SitePins.xml"); }
    void writeLibrary(const QString &text) { ASSERT_TRUE(LibraryText::writeFile(libraryPath(), text)); }
    void writeLibraryBody(const QString &body) { writeLibrary(LibraryText::document(body)); }
    QByteArray fileBytes() const { return LibraryText::readFile(libraryPath()); }
    void setStoredTabIndex(const QString &value);
    QString storedTabIndex() const;

    // Prepares and shows the main window, as the program's start does.
    frmSitePins &start();
    // A new window's preparation alone, for starts that end in it.
    frmSitePins::StartOutcome prepareWindow();
    frmSitePins &startWith(const QString &body)
    {
        writeLibraryBody(body);
        return start();
    }
    frmSitePins &window() { return *m_window; }
    frmSitePinsUi &ui();

    // What is on disk now, read afresh.
    std::unique_ptr<XMLDatabase> reopenLibrary() const;

    QTreeWidgetItem *folderNode(const QString &name) const;
    // An entry of a SitePin list, by its name.
    QModelIndex entry(QTreeView *list, const QString &name) const;
    QStringList entryNames(QTreeView *list) const;
    QString currentEntryName(QTreeView *list) const { return list->currentIndex().data().toString(); }
    QStringList childNames(QTreeWidgetItem *node) const;
    void clickItem(QTreeWidget *tree, QTreeWidgetItem *item);
    void clickItem(QTreeView *list, const QModelIndex &entry);
    void clickFolder(const QString &name);
    void clickSitePin(const QString &name);
    void showSitePin(const QString &folder, const QString &name)
    {
        clickFolder(folder);
        clickSitePin(name);
    }
    void runMenu(const QString &name);
    void clickToolbarButton(int index);
    bool isEnabled(const QString &menuElement) const;
    bool isButtonEnabled(int index) const;
    // Exactly one message was shown, and it was this one.
    void expectOnlyMessage(const QString &text, const QString &title, MessageButtons buttons = MessageButtons::Ok,
                           MessageIcon icon = MessageIcon::None);

    ScriptedDialogs m_dialogs;
    RecordingDesktop m_desktop;
    ProgramEnvironment m_environment;
    int m_endProgramCalls = 0;

private:
    QTemporaryDir m_folder;
    QTemporaryDir m_config;
    std::unique_ptr<frmSitePins> m_window;
};

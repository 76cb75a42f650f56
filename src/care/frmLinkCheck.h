#pragma once

#include "care/logic/LinkCheckResult.h"
#include "store/XmlDocument.h"

#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

class LibraryCare;
class LinkChecker;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class frmSitePins;

// Tools > Check links: asks for the web address of every SitePin of the
// library or of one folder and below, shows how far it has got, and lists
// what each address came to as the answers arrive. The main window stays
// usable throughout; nothing in the library changes unless the user picks
// rows and an action.
class frmLinkCheck : public QWidget
{
    Q_OBJECT

public:
    enum Column
    {
        NameColumn,
        FolderColumn,
        AddressColumn,
        OutcomeColumn,
        DetailsColumn,
        ColumnCount
    };
    // Entries of the outcome filter before the outcomes themselves.
    static constexpr int kShowAll = -1;
    static constexpr int kShowAllButOk = -2;

    frmLinkCheck(frmSitePins &window, LibraryCare &care);
    ~frmLinkCheck() override;

    // Offers the folder now selected in the folder tree, if any.
    void offerSelectedFolder();
    bool isChecking() const;

    void cmdCheck_Click();
    void cmdCancel_Click();
    void cmdUseNewAddress_Click();
    void cmdDelete_Click();
    void cmdCopy_Click();

signals:
    void checkFinished(bool cancelled);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    QWidget *buildScopeRow();
    QWidget *buildProgressRow();
    QWidget *buildActionRow();
    void setChecking(bool checking);
    bool belongsToOpenLibrary();
    void queueResult(const LinkCheckResult &result);
    void showQueuedResults();
    QTreeWidgetItem *makeRow(const LinkCheckResult &result) const;
    void showProgress(int done, int total);
    void finishCheck(bool cancelled);
    void updateFilterCounts();
    void applyFilter();
    bool isShownByFilter(const QTreeWidgetItem *row) const;
    void updateActions();
    QList<QTreeWidgetItem *> chosenRows() const;
    void removeRows(const QStringList &wids);
    void showSitePinOf(QTreeWidgetItem *row);

    frmSitePins &m_window;
    LibraryCare &m_care;
    XmlDocument m_document;
    // The folder offered, in the library it was offered from.
    QString m_folderTid;
    XmlDocument m_folderDocument;
    std::unique_ptr<LinkChecker> m_checker;
    std::vector<LinkCheckResult> m_queued;
    QTimer *m_showTimer;

    QRadioButton *m_optLibrary = nullptr;
    QRadioButton *m_optFolder = nullptr;
    QPushButton *m_cmdCheck = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_lblProgress = nullptr;
    QPushButton *m_cmdCancel = nullptr;
    QComboBox *m_cboShow = nullptr;
    QTreeWidget *m_tvwResults = nullptr;
    QPushButton *m_cmdUseNewAddress = nullptr;
    QPushButton *m_cmdDelete = nullptr;
    QPushButton *m_cmdCopy = nullptr;
    QPushButton *m_cmdClose = nullptr;
};

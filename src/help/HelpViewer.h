#pragma once

#include "help/logic/HelpCommand.h"
#include "help/logic/HelpSearchIndex.h"
#include "help/logic/SitemapEntry.h"

#include <QHash>
#include <QMainWindow>

#include <memory>
#include <optional>

class ChmArchive;
class ChmBrowser;
class DesktopServices;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;
class UserDialogs;

// The help window: the help file's contents, its index (type the start of
// a keyword to find it) and a full-text search on the left; the page on
// the right, with back, forward and home.
class HelpViewer : public QMainWindow
{
    Q_OBJECT

public:
    enum Page
    {
        ContentsPage,
        IndexPage,
        SearchPage
    };

    HelpViewer(std::shared_ptr<const ChmArchive> archive, UserDialogs &dialogs, DesktopServices *desktop);
    ~HelpViewer() override;

    QString helpFile() const;
    ChmBrowser *browser() const { return m_browser; }
    QString currentTopic() const;
    Page currentPage() const;

    void showHome();
    // A path inside the help file, "topic.htm" or "topic.htm#anchor";
    // false when the file has no such page.
    bool showTopic(const QString &topic);
    bool showContext(int contextId);
    void showPage(Page page);
    void showSearch(const QString &query);
    // Keywords separated by ";" in the index, or in the topics' associative
    // link names. Nothing found: the record's message and fall-back topic.
    void lookUpKeywords(const HelpLinkRecord &record);
    void lookUpAssociativeLinks(const HelpLinkRecord &record);

    // The index entry whose keyword starts with this text, made current.
    void findKeyword(const QString &text);
    void displaySelectedKeyword();
    void listTopics();
    void displaySelectedSearchResult();
    void jumpTo(const QString &address);

private:
    void buildToolbar();
    QWidget *buildContentsPage();
    QWidget *buildIndexPage();
    QWidget *buildSearchPage();
    void fillContents(QTreeWidgetItem *parent, const QList<SitemapEntry> &entries);
    void fillIndex(const QList<SitemapEntry> &entries, int level);
    void selectContentsEntryFor(const QString &topic);
    void showJumpField();
    void lookUp(const HelpLinkRecord &record, const QHash<QString, QStringList> &topicsByName);
    QHash<QString, QStringList> indexKeywords() const;
    QHash<QString, QStringList> associativeLinks() const;
    QString topicFromLink(const QString &local) const;

    std::shared_ptr<const ChmArchive> m_archive;
    UserDialogs &m_dialogs;
    DesktopServices *m_desktop;
    QList<SitemapEntry> m_index;
    std::optional<HelpSearchIndex> m_searchIndex;
    mutable std::optional<QHash<QString, QStringList>> m_associativeLinks;
    QTabWidget *m_tabs = nullptr;
    QTreeWidget *m_contents = nullptr;
    QLineEdit *m_keyword = nullptr;
    QListWidget *m_indexList = nullptr;
    QLineEdit *m_searchWords = nullptr;
    QTreeWidget *m_searchResults = nullptr;
    QLabel *m_searchStatus = nullptr;
    ChmBrowser *m_browser = nullptr;
    QMenu *m_systemMenu = nullptr;
    QLineEdit *m_jumpField = nullptr;
    QAction *m_jumpFieldAction = nullptr;
};

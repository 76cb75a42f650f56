#include "help/HelpViewer.h"

#include "help/ChmBrowser.h"
#include "help/HTMLHelp.h"
#include "help/logic/ChmArchive.h"
#include "help/logic/HtmlText.h"
#include "help/logic/SitemapParser.h"
#include "mainwindow/ThemeIcons.h"
#include "platform/ui/DesktopServices.h"
#include "platform/ui/UserDialogs.h"

#include <QAction>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <functional>

namespace {

constexpr int kLocalsRole = Qt::UserRole;
constexpr int kLevelRole = Qt::UserRole + 1;
constexpr int kNameRole = Qt::UserRole + 2;

QPushButton *makeButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

QLabel *makeLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QAction *makeAction(const QString &name, const QString &caption, const QIcon &icon, QObject *parent)
{
    auto *action = new QAction(icon, caption, parent);
    action->setObjectName(name);
    return action;
}

} // namespace

HelpViewer::HelpViewer(std::shared_ptr<const ChmArchive> archive, UserDialogs &dialogs, DesktopServices *desktop)
    : m_archive(std::move(archive))
    , m_dialogs(dialogs)
    , m_desktop(desktop)
{
    setObjectName(QStringLiteral("HelpViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(m_archive->title().isEmpty() ? QFileInfo(m_archive->path()).fileName() : m_archive->title());

    m_browser = new ChmBrowser(this);
    m_browser->setArchive(m_archive);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("tabNavigation"));
    m_tabs->addTab(buildContentsPage(), QStringLiteral("&Contents"));
    m_tabs->addTab(buildIndexPage(), QStringLiteral("I&ndex"));
    m_tabs->addTab(buildSearchPage(), QStringLiteral("&Search"));
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int page) { showPage(Page(page)); });

    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName(QStringLiteral("splHelp"));
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({290, 670});
    setCentralWidget(splitter);
    buildToolbar();
    resize(960, 680);

    fillContents(nullptr, SitemapParser::parse(m_archive->read(m_archive->contentsFile()).value_or(QByteArray())));
    m_index = SitemapParser::parse(m_archive->read(m_archive->indexFile()).value_or(QByteArray()));
    fillIndex(m_index, 0);

    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] { selectContentsEntryFor(currentTopic()); });
    connect(m_browser, &ChmBrowser::externalLinkActivated, this, [this](const QUrl &url) {
        if (m_desktop)
            m_desktop->openUrl(url);
    });
}

HelpViewer::~HelpViewer() = default;

void HelpViewer::buildToolbar()
{
    QToolBar *toolbar = addToolBar(QStringLiteral("Navigation"));
    toolbar->setObjectName(QStringLiteral("tlbHelp"));
    toolbar->setMovable(false);
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);

    QAction *back = makeAction(QStringLiteral("actBack"), QStringLiteral("Back"),
                               ThemeIcons::icon(QStringLiteral("go-previous"), QStyle::SP_ArrowBack), this);
    QAction *forward = makeAction(QStringLiteral("actForward"), QStringLiteral("Forward"),
                                  ThemeIcons::icon(QStringLiteral("go-next"), QStyle::SP_ArrowForward), this);
    QAction *home = makeAction(QStringLiteral("actHome"), QStringLiteral("Home"),
                               ThemeIcons::icon(QStringLiteral("go-home"), QStyle::SP_DirHomeIcon), this);
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(home, &QAction::triggered, this, &HelpViewer::showHome);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    toolbar->addActions({back, forward, home});

    // The window's own menu, where callers may take entries away.
    m_systemMenu = new QMenu(QStringLiteral("Options"), this);
    m_systemMenu->setObjectName(QStringLiteral("SystemMenu"));
    m_systemMenu->addActions({home, back, forward});
    m_systemMenu->addAction(QStringLiteral("Refresh"), m_browser, &QTextBrowser::reload);
    m_systemMenu->addSeparator();
    QAction *jump = m_systemMenu->addAction(QStringLiteral("Jump to URL..."), this, &HelpViewer::showJumpField);
    jump->setObjectName(QStringLiteral("actJumpToURL"));
    jump->setProperty("menuId", HTMLHelp::kJumpUrlMenuId);
    auto *options = new QToolButton(toolbar);
    options->setObjectName(QStringLiteral("cmdOptions"));
    options->setText(QStringLiteral("Options"));
    options->setIcon(ThemeIcons::icon(QStringLiteral("preferences-system"), QStyle::SP_FileDialogDetailedView));
    options->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    options->setPopupMode(QToolButton::InstantPopup);
    options->setMenu(m_systemMenu);
    toolbar->addWidget(options);

    m_jumpField = new QLineEdit(toolbar);
    m_jumpField->setObjectName(QStringLiteral("txtJumpURL"));
    m_jumpField->setPlaceholderText(QStringLiteral("Topic or web address, then Enter"));
    m_jumpField->setMinimumWidth(280);
    m_jumpFieldAction = toolbar->addWidget(m_jumpField);
    m_jumpFieldAction->setVisible(false);
    connect(m_jumpField, &QLineEdit::returnPressed, this, [this] {
        const QString address = m_jumpField->text().trimmed();
        m_jumpFieldAction->setVisible(false);
        jumpTo(address);
    });
    auto *hideJump = new QShortcut(QKeySequence(Qt::Key_Escape), m_jumpField);
    hideJump->setContext(Qt::WidgetShortcut);
    connect(hideJump, &QShortcut::activated, this, [this] { m_jumpFieldAction->setVisible(false); });
}

QWidget *HelpViewer::buildContentsPage()
{
    m_contents = new QTreeWidget(this);
    m_contents->setObjectName(QStringLiteral("tvwContents"));
    m_contents->setHeaderHidden(true);
    m_contents->setRootIsDecorated(true);
    const auto open = [this](QTreeWidgetItem *item) {
        const QStringList locals = item->data(0, kLocalsRole).toStringList();
        if (!locals.isEmpty())
            showTopic(locals.first());
    };
    connect(m_contents, &QTreeWidget::itemClicked, this, open);
    connect(m_contents, &QTreeWidget::itemActivated, this, open);
    connect(m_contents, &QTreeWidget::itemExpanded, this, [](QTreeWidgetItem *item) {
        item->setIcon(0, ThemeIcons::icon(QStringLiteral("folder-open"), QStyle::SP_DirOpenIcon));
    });
    connect(m_contents, &QTreeWidget::itemCollapsed, this, [](QTreeWidgetItem *item) {
        item->setIcon(0, ThemeIcons::icon(QStringLiteral("folder"), QStyle::SP_DirClosedIcon));
    });
    return m_contents;
}

QWidget *HelpViewer::buildIndexPage()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    m_keyword = new QLineEdit(page);
    m_keyword->setObjectName(QStringLiteral("txtKeyword"));
    m_indexList = new QListWidget(page);
    m_indexList->setObjectName(QStringLiteral("lstIndex"));
    QPushButton *display = makeButton(QStringLiteral("cmdDisplayIndex"), QStringLiteral("&Display"), page);
    layout->addWidget(makeLabel(QStringLiteral("Type in the keyword to find:"), page));
    layout->addWidget(m_keyword);
    layout->addWidget(m_indexList, 1);
    layout->addWidget(display, 0, Qt::AlignRight);
    connect(m_keyword, &QLineEdit::textEdited, this, &HelpViewer::findKeyword);
    connect(m_keyword, &QLineEdit::returnPressed, this, &HelpViewer::displaySelectedKeyword);
    connect(m_indexList, &QListWidget::itemActivated, this, &HelpViewer::displaySelectedKeyword);
    connect(m_indexList, &QListWidget::itemDoubleClicked, this, &HelpViewer::displaySelectedKeyword);
    connect(display, &QPushButton::clicked, this, &HelpViewer::displaySelectedKeyword);
    return page;
}

QWidget *HelpViewer::buildSearchPage()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    m_searchWords = new QLineEdit(page);
    m_searchWords->setObjectName(QStringLiteral("txtSearchWords"));
    QPushButton *list = makeButton(QStringLiteral("cmdListTopics"), QStringLiteral("&List Topics"), page);
    m_searchStatus = makeLabel(QStringLiteral("Select topic to display:"), page);
    m_searchStatus->setObjectName(QStringLiteral("lblSearchStatus"));
    m_searchResults = new QTreeWidget(page);
    m_searchResults->setObjectName(QStringLiteral("tvwSearchResults"));
    m_searchResults->setRootIsDecorated(false);
    m_searchResults->setHeaderLabels({QStringLiteral("Title"), QStringLiteral("Hits")});
    m_searchResults->header()->setStretchLastSection(false);
    m_searchResults->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_searchResults->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    QPushButton *display = makeButton(QStringLiteral("cmdDisplaySearch"), QStringLiteral("&Display"), page);
    layout->addWidget(makeLabel(QStringLiteral("Type in the word(s) to search for:"), page));
    layout->addWidget(m_searchWords);
    layout->addWidget(list, 0, Qt::AlignRight);
    layout->addWidget(m_searchStatus);
    layout->addWidget(m_searchResults, 1);
    layout->addWidget(display, 0, Qt::AlignRight);
    connect(m_searchWords, &QLineEdit::returnPressed, this, &HelpViewer::listTopics);
    connect(list, &QPushButton::clicked, this, &HelpViewer::listTopics);
    connect(m_searchResults, &QTreeWidget::itemActivated, this, &HelpViewer::displaySelectedSearchResult);
    connect(m_searchResults, &QTreeWidget::itemDoubleClicked, this, &HelpViewer::displaySelectedSearchResult);
    connect(display, &QPushButton::clicked, this, &HelpViewer::displaySelectedSearchResult);
    return page;
}

void HelpViewer::fillContents(QTreeWidgetItem *parent, const QList<SitemapEntry> &entries)
{
    for (const SitemapEntry &entry : entries) {
        auto *item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_contents);
        item->setText(0, entry.name);
        item->setData(0, kLocalsRole, entry.locals);
        item->setIcon(0, entry.children.isEmpty()
                             ? ThemeIcons::icon(QStringLiteral("text-html"), QStyle::SP_FileIcon)
                             : ThemeIcons::icon(QStringLiteral("folder"), QStyle::SP_DirClosedIcon));
        fillContents(item, entry.children);
    }
}

void HelpViewer::fillIndex(const QList<SitemapEntry> &entries, int level)
{
    for (const SitemapEntry &entry : entries) {
        auto *item = new QListWidgetItem(QString(level * 4, QLatin1Char(' ')) + entry.name, m_indexList);
        item->setData(kLocalsRole, entry.locals);
        item->setData(kLevelRole, level);
        item->setData(kNameRole, entry.name);
        fillIndex(entry.children, level + 1);
    }
}

QString HelpViewer::helpFile() const
{
    return m_archive->path();
}

QString HelpViewer::currentTopic() const
{
    return m_browser->currentTopic();
}

HelpViewer::Page HelpViewer::currentPage() const
{
    return Page(m_tabs->currentIndex());
}

void HelpViewer::showHome()
{
    QString home = m_archive->defaultTopic();
    if (home.isEmpty() && m_contents->topLevelItemCount() > 0)
        home = m_contents->topLevelItem(0)->data(0, kLocalsRole).toStringList().value(0);
    if (!home.isEmpty())
        showTopic(home);
}

QString HelpViewer::topicFromLink(const QString &local) const
{
    // Links into this file may be written "file.chm::/topic.htm".
    const qsizetype separator = local.indexOf(QLatin1String("::"));
    return separator >= 0 ? local.mid(separator + 2) : local;
}

bool HelpViewer::showTopic(const QString &topic)
{
    const QString link = topicFromLink(topic);
    if (link.isEmpty() || !m_archive->contains(ChmArchive::archivePath(link)))
        return false;
    m_browser->setSource(ChmBrowser::urlFor(link));
    return true;
}

bool HelpViewer::showContext(int contextId)
{
    const QString topic = m_archive->topicForContext(contextId);
    return !topic.isEmpty() && showTopic(topic);
}

// Each page starts where the user types: the keyword, or the words to search for.
void HelpViewer::showPage(Page page)
{
    m_tabs->setCurrentIndex(page);
    if (page == IndexPage)
        m_keyword->setFocus(Qt::OtherFocusReason);
    else if (page == SearchPage)
        m_searchWords->setFocus(Qt::OtherFocusReason);
    else
        m_contents->setFocus(Qt::OtherFocusReason);
}

void HelpViewer::showSearch(const QString &query)
{
    showPage(SearchPage);
    if (query.isEmpty())
        return;
    m_searchWords->setText(query);
    listTopics();
}

void HelpViewer::selectContentsEntryFor(const QString &topic)
{
    for (QTreeWidgetItemIterator it(m_contents); *it; ++it) {
        const QStringList locals = (*it)->data(0, kLocalsRole).toStringList();
        if (!locals.isEmpty() && ChmArchive::archivePath(locals.first()) == topic) {
            const QSignalBlocker quiet(m_contents);
            m_contents->setCurrentItem(*it);
            m_contents->scrollToItem(*it);
            return;
        }
    }
}

void HelpViewer::findKeyword(const QString &text)
{
    const QString wanted = text.trimmed();
    QListWidgetItem *found = nullptr;
    for (int pass = 0; pass < 2 && !found; ++pass) {
        for (int row = 0; row < m_indexList->count(); ++row) {
            QListWidgetItem *item = m_indexList->item(row);
            if (pass == 0 && item->data(kLevelRole).toInt() != 0)
                continue; // a keyword of its own before a sub-entry of another
            if (item->data(kNameRole).toString().startsWith(wanted, Qt::CaseInsensitive)) {
                found = item;
                break;
            }
        }
    }
    if (!found)
        return;
    m_indexList->setCurrentItem(found);
    m_indexList->scrollToItem(found, QAbstractItemView::PositionAtTop);
}

// An entry without a topic of its own leads to its first sub-entry's.
void HelpViewer::displaySelectedKeyword()
{
    for (int row = m_indexList->currentRow(); row >= 0 && row < m_indexList->count(); ++row) {
        const QStringList locals = m_indexList->item(row)->data(kLocalsRole).toStringList();
        if (!locals.isEmpty()) {
            showTopic(locals.first());
            return;
        }
        if (row + 1 < m_indexList->count() &&
            m_indexList->item(row + 1)->data(kLevelRole).toInt() <= m_indexList->item(row)->data(kLevelRole).toInt())
            return;
    }
}

void HelpViewer::listTopics()
{
    if (!m_searchIndex)
        m_searchIndex = HelpSearchIndex::fromArchive(*m_archive);
    m_searchResults->clear();
    const QList<HelpSearchIndex::Hit> hits = m_searchIndex->search(m_searchWords->text());
    for (const HelpSearchIndex::Hit &hit : hits) {
        auto *item = new QTreeWidgetItem(m_searchResults, {hit.title, QString::number(hit.hits)});
        item->setData(0, kLocalsRole, hit.path);
    }
    m_searchStatus->setText(hits.isEmpty()
                                ? QStringLiteral("No topics found.")
                                : QStringLiteral("Topics found: %1. Select topic to display:").arg(hits.size()));
    if (!hits.isEmpty())
        m_searchResults->setCurrentItem(m_searchResults->topLevelItem(0));
}

void HelpViewer::displaySelectedSearchResult()
{
    const QTreeWidgetItem *item = m_searchResults->currentItem();
    if (!item || !showTopic(item->data(0, kLocalsRole).toString()))
        return;
    m_browser->highlightWords(HelpSearchIndex::words(m_searchWords->text()));
}

void HelpViewer::showJumpField()
{
    m_jumpFieldAction->setVisible(true);
    m_jumpField->selectAll();
    m_jumpField->setFocus(Qt::OtherFocusReason);
}

// A web address goes to the web browser; anything else is a topic.
void HelpViewer::jumpTo(const QString &address)
{
    const QUrl url(address);
    if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) {
        if (m_desktop)
            m_desktop->openUrl(url);
        return;
    }
    if (url.scheme() == QLatin1String(ChmBrowser::kScheme)) {
        m_browser->setSource(url);
        return;
    }
    showTopic(address);
}

void HelpViewer::lookUpKeywords(const HelpLinkRecord &record)
{
    lookUp(record, indexKeywords());
}

void HelpViewer::lookUpAssociativeLinks(const HelpLinkRecord &record)
{
    lookUp(record, associativeLinks());
}

void HelpViewer::lookUp(const HelpLinkRecord &record, const QHash<QString, QStringList> &topicsByName)
{
    for (const QString &keyword : record.keywords.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        for (const QString &topic : topicsByName.value(keyword.trimmed().toCaseFolded()))
            if (showTopic(topic))
                return;
    }
    if (record.indicateFailure && !record.msgText.isEmpty())
        m_dialogs.showMessage(this, {record.msgText, record.msgTitle.isEmpty() ? windowTitle() : record.msgTitle,
                                     MessageButtons::Ok, MessageIcon::Information});
    if (!record.url.isEmpty())
        showTopic(record.url);
}

QHash<QString, QStringList> HelpViewer::indexKeywords() const
{
    QHash<QString, QStringList> keywords;
    const std::function<void(const QList<SitemapEntry> &)> collect = [&](const QList<SitemapEntry> &entries) {
        for (const SitemapEntry &entry : entries) {
            keywords[entry.name.trimmed().toCaseFolded()] += entry.locals;
            collect(entry.children);
        }
    };
    collect(m_index);
    return keywords;
}

// Topics name their associative links in an object of their own:
// <param name="ALink Name" value="first; second">.
QHash<QString, QStringList> HelpViewer::associativeLinks() const
{
    if (m_associativeLinks)
        return *m_associativeLinks;
    static const QRegularExpression link(
        QStringLiteral(R"re(<param\s+name\s*=\s*"ALink Name"\s+value\s*=\s*"([^"]*)")re"),
        QRegularExpression::CaseInsensitiveOption);
    QHash<QString, QStringList> links;
    for (const QString &path : m_archive->filePaths()) {
        if (!path.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive))
            continue;
        const QString page = HtmlText::decode(m_archive->read(path).value_or(QByteArray()));
        for (auto it = link.globalMatch(page); it.hasNext();)
            for (const QString &name : it.next().captured(1).split(QLatin1Char(';'), Qt::SkipEmptyParts))
                links[HtmlText::decodeEntities(name).trimmed().toCaseFolded()] += path;
    }
    m_associativeLinks = links;
    return links;
}

#include "finding/Search.h"

#include "finding/logic/SearchTerm.h"
#include "mainwindow/FolderTree.h"
#include "mainwindow/SitePinListModel.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"
#include "store/SitePinTextIndex.h"
#include "store/XmlNode.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTreeView>

#include <algorithm>

Search::Search(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
    , m_listEvents(window, window.ui().tvwSearch)
{
    frmSitePinsUi &ui = window.ui();
    connect(ui.cmdSearch, &QPushButton::clicked, this, &Search::cmdSearch_Click);
    connect(ui.txtSearch, &QLineEdit::returnPressed, this, &Search::cmdSearch_Click);
    registerCommands();
}

void Search::registerCommands()
{
    CommandRouter &router = m_window.commands();
    router.on(QStringLiteral("mnuToolsSearchText"), [this] { prepareSearchFor(Field::FullText); });
    router.on(QStringLiteral("mnuToolsSearchName"), [this] { prepareSearchFor(Field::Name); });
    router.on(QStringLiteral("mnuToolsSearchAddress"), [this] { prepareSearchFor(Field::Address); });
    router.on(QStringLiteral("mnuToolsSearchNotes"), [this] { prepareSearchFor(Field::Notes); });
}

void Search::prepareSearchFor(Field field)
{
    frmSitePinsUi &ui = m_window.ui();
    m_window.selectLeftTab(1);
    ui.txtSearch->setFocus();
    ui.optSearch[int(field)]->setChecked(true);
}

Search::Field Search::chosenField() const
{
    const frmSitePinsUi &ui = m_window.ui();
    if (ui.optSearch[0]->isChecked())
        return Field::FullText;
    if (ui.optSearch[1]->isChecked())
        return Field::Name;
    return ui.optSearch[2]->isChecked() ? Field::Address : Field::Notes;
}

void Search::cmdSearch_Click()
{
    frmSitePinsUi &ui = m_window.ui();
    const Field field = chosenField();
    const SearchTerm term(ui.txtSearch->text());
    ui.tvwSearch->hide();
    size_t found = 0;
    // The hourglass goes before a message can come up.
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restoreCursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        std::vector<SitePinRow> hits = findHits(field, term);
        found = hits.size();
        if (found > 0)
            fillSearchList(std::move(hits));
    }
    if (found == 0)
        reportNoHits();
    ui.lblFound->setText(QString::number(found));
    ui.tvwSearch->show();
}

static_assert(int(Search::Field::FullText) == int(SitePinTextIndex::Field::Any) &&
              int(Search::Field::Notes) == int(SitePinTextIndex::Field::Notes));

// Case folding matches ASCII terms byte by byte against a copy of the texts
// kept for searching, and an empty term only asks whether there is text;
// other terms need the full comparison on the document.
std::vector<SitePinRow> Search::findHits(Field field, const SearchTerm &term)
{
    SitePinTextIndex &index = m_window.textIndex();
    const auto indexField = SitePinTextIndex::Field(int(field));
    if (term.isEmpty())
        return index.findWithText(m_window.m_objDOMSitePins, indexField);
    if (!term.asciiLower().isEmpty()) {
        return index.find(m_window.m_objDOMSitePins, term.asciiLower(), indexField,
                          [field, &term](const XmlNode &sitePin) { return isHit(sitePin, field, term); });
    }
    std::vector<SitePinRow> hits;
    // A SitePin holds no SitePins, so the walk need not look inside one.
    const XmlNode root = m_window.m_objDOMSitePins.documentElement();
    root.forEachOutermostElementByTagName(QStringLiteral("SITEPIN"), [&](const XmlNode &sitePin) {
        if (isHit(sitePin, field, term))
            hits.push_back(SitePinRow::of(sitePin));
    });
    return hits;
}

// Full text looks for the term within each field on its own: a term that
// only appears across the end of one field and the start of the next is
// not in the SitePin.
bool Search::isHit(const XmlNode &sitePin, Field field, const SearchTerm &term)
{
    switch (field) {
    case Field::FullText:
        for (XmlNode child = sitePin.firstChildElement(); child; child = child.nextSiblingElement()) {
            if (term.occursInTextOf(child))
                return true;
        }
        return false;
    case Field::Name:
        return term.occursInTextOf(sitePin.selectSingleNode(QStringLiteral("NAME")));
    case Field::Address:
        return term.occursInTextOf(sitePin.selectSingleNode(QStringLiteral("ADDRESS")));
    case Field::Notes:
        return term.occursInTextOf(sitePin.selectSingleNode(QStringLiteral("NOTES")));
    }
    return false;
}

// The old results stay listed while the message is up.
void Search::reportNoHits()
{
    frmSitePinsUi &ui = m_window.ui();
    ui.tvwSearch->show();
    m_window.message(QStringLiteral("No search results were found"), QString::fromLatin1(frmSitePins::kWindowTitle));
    FolderTree::clearList(ui.tvwSearch);
}

void Search::fillSearchList(std::vector<SitePinRow> hits)
{
    SitePinListModel *list = m_window.ui().searchModel;
    list->fill(std::move(hits));
    if (list->rowCount() > 0)
        m_window.ui().tvwSearch->scrollTo(list->index(list->rowCount() - 1));
}

void Search::clearResults()
{
    FolderTree::clearList(m_window.ui().tvwSearch);
    m_window.ui().lblFound->setText(QStringLiteral("0"));
}

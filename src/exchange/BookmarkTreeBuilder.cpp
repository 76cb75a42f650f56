#include "exchange/BookmarkTreeBuilder.h"

#include <utility>

void BookmarkTreeBuilder::openFolder(const QString &name, const QDate &created)
{
    if (m_tooDeep > 0 || int(m_open.size()) >= kMaxDepth) {
        ++m_tooDeep;
        skip();
        return;
    }
    BookmarkEntry folder = BookmarkEntry::makeFolder();
    folder.name = fieldText(name);
    if (folder.name.isEmpty())
        folder.name = QString::fromLatin1(kUnnamedFolder);
    folder.created = created;
    BookmarkEntry &parent = current();
    parent.children.push_back(std::move(folder));
    m_open.push_back(&parent.children.back());
}

void BookmarkTreeBuilder::closeFolder()
{
    if (m_tooDeep > 0)
        --m_tooDeep;
    else if (!m_open.empty())
        m_open.pop_back();
}

BookmarkEntry *BookmarkTreeBuilder::addBookmark(const QString &name, const QString &address, const QDate &created)
{
    const QString kept = fieldText(address);
    if (m_tooDeep > 0 || !isKeptAddress(kept)) {
        skip();
        return nullptr;
    }
    BookmarkEntry bookmark;
    bookmark.address = kept;
    bookmark.name = fieldText(name);
    if (bookmark.name.isEmpty())
        bookmark.name = kept;
    bookmark.created = created;
    BookmarkEntry &folder = current();
    folder.children.push_back(std::move(bookmark));
    return &folder.children.back();
}

// Scripts run in the page they are clicked on, and browser queries only mean
// something inside the browser that wrote them: neither opens as a page.
bool BookmarkTreeBuilder::isKeptAddress(const QString &address)
{
    if (address.isEmpty())
        return false;
    for (const char *scheme : {"javascript:", "place:"}) {
        if (address.startsWith(QLatin1String(scheme), Qt::CaseInsensitive))
            return false;
    }
    return true;
}

QString BookmarkTreeBuilder::fieldText(const QString &text)
{
    const QString trimmed = text.trimmed();
    return trimmed.size() > LibraryLimits::kMaxFieldLength ? trimmed.left(LibraryLimits::kMaxFieldLength) : trimmed;
}

BookmarkTree BookmarkTreeBuilder::take()
{
    m_open.clear();
    m_tooDeep = 0;
    return std::exchange(m_tree, BookmarkTree{});
}

#include "mainwindow/SitePinListModel.h"

#include "store/XmlNode.h"

#include <algorithm>
#include <numeric>

SitePinListModel::SitePinListModel(const QIcon &icon, bool sorted, QObject *parent)
    : QAbstractListModel(parent)
    , m_icon(icon)
    , m_sorted(sorted)
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

SitePinListModel::Entry SitePinListModel::entryOf(const XmlNode &sitePin)
{
    return {sitePin.getAttribute(QStringLiteral("WID")), sitePin.selectSingleNode(QStringLiteral("NAME")).text()};
}

// Names the collation finds equal go by their characters (capitals first),
// then by the order they were added in.
bool SitePinListModel::lessThan(const Entry &a, const Entry &b) const
{
    int order = m_collator.compare(a.name, b.name);
    if (order == 0)
        order = a.name.compare(b.name);
    return order != 0 ? order < 0 : a.added < b.added;
}

// Thousands of entries sort by keys made once per name rather than by
// comparing names afresh each time. The C locale has no collation of its
// own: there the names compare case-folded.
void SitePinListModel::sortByName(std::vector<Entry> &entries) const
{
    std::vector<size_t> order(entries.size());
    std::iota(order.begin(), order.end(), size_t(0));
    const auto sortBy = [&entries, &order](auto keyOrder) {
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            const int byKey = keyOrder(a, b);
            return byKey != 0 ? byKey < 0 : entries[a].name < entries[b].name;
        });
    };
    if (m_collator.locale().language() == QLocale::C) {
        std::vector<QString> folded;
        folded.reserve(entries.size());
        for (const Entry &entry : entries)
            folded.push_back(entry.name.toCaseFolded());
        sortBy([&folded](size_t a, size_t b) { return folded[a].compare(folded[b]); });
    } else {
        std::vector<QCollatorSortKey> keys;
        keys.reserve(entries.size());
        for (const Entry &entry : entries)
            keys.push_back(m_collator.sortKey(entry.name));
        sortBy([&keys](size_t a, size_t b) { return keys[a].compare(keys[b]); });
    }
    std::vector<Entry> sorted;
    sorted.reserve(entries.size());
    for (const size_t i : order)
        sorted.push_back(std::move(entries[i]));
    entries = std::move(sorted);
}

void SitePinListModel::fill(std::vector<Entry> entries)
{
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i].added = int(i);
    if (m_sorted)
        sortByName(entries);
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

void SitePinListModel::clear()
{
    fill({});
}

int SitePinListModel::append(Entry entry)
{
    entry.added = int(m_entries.size());
    const auto at = m_sorted ? std::upper_bound(m_entries.begin(), m_entries.end(), entry,
                                                [this](const Entry &a, const Entry &b) { return lessThan(a, b); })
                             : m_entries.end();
    const int row = int(at - m_entries.begin());
    beginInsertRows({}, row, row);
    m_entries.insert(at, std::move(entry));
    endInsertRows();
    return row;
}

void SitePinListModel::removeWid(const QString &wid)
{
    for (int row = int(m_entries.size()) - 1; row >= 0; --row) {
        if (m_entries[size_t(row)].wid.compare(wid, Qt::CaseInsensitive) == 0)
            removeAdded(m_entries[size_t(row)].added);
    }
}

void SitePinListModel::removeAdded(int position)
{
    const auto found =
        std::find_if(m_entries.begin(), m_entries.end(), [position](const Entry &e) { return e.added == position; });
    if (found == m_entries.end())
        return;
    const int row = int(found - m_entries.begin());
    beginRemoveRows({}, row, row);
    m_entries.erase(found);
    for (Entry &entry : m_entries) {
        if (entry.added > position)
            --entry.added;
    }
    endRemoveRows();
}

void SitePinListModel::rename(int row, const QString &name)
{
    if (row < 0 || row >= rowCount())
        return;
    Entry renamed = m_entries[size_t(row)];
    renamed.name = name;
    int to = row;
    if (m_sorted) {
        to = 0;
        for (size_t other = 0; other < m_entries.size(); ++other) {
            if (int(other) != row && lessThan(m_entries[other], renamed))
                ++to;
        }
    }
    const bool moves = to != row && beginMoveRows({}, row, row, {}, to > row ? to + 1 : to);
    m_entries.erase(m_entries.begin() + row);
    m_entries.insert(m_entries.begin() + to, std::move(renamed));
    if (moves)
        endMoveRows();
    emit dataChanged(index(to), index(to));
}

QString SitePinListModel::wid(int row) const
{
    return row >= 0 && row < rowCount() ? m_entries[size_t(row)].wid : QString();
}

QString SitePinListModel::name(int row) const
{
    return row >= 0 && row < rowCount() ? m_entries[size_t(row)].name : QString();
}

int SitePinListModel::lastAddedNamed(const QString &name) const
{
    int found = -1;
    for (size_t row = 0; row < m_entries.size(); ++row) {
        if (m_entries[row].name.compare(name, Qt::CaseInsensitive) == 0 &&
            (found < 0 || m_entries[row].added > m_entries[size_t(found)].added))
            found = int(row);
    }
    return found;
}

QStringList SitePinListModel::widsInAddedOrder() const
{
    QStringList wids(qsizetype(m_entries.size()));
    for (const Entry &entry : m_entries)
        wids[entry.added] = entry.wid;
    return wids;
}

int SitePinListModel::rowOf(const QString &wid) const
{
    for (int row = 0; row < rowCount(); ++row) {
        if (m_entries[size_t(row)].wid.compare(wid, Qt::CaseInsensitive) == 0)
            return row;
    }
    return -1;
}

int SitePinListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant SitePinListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Entry &entry = m_entries[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return entry.name;
    case Qt::DecorationRole:
        return m_icon;
    case TagRole:
        return entry.wid;
    default:
        return {};
    }
}

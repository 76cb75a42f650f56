#include "mainwindow/SitePinListModel.h"

#include "mainwindow/NameOrder.h"

#include <algorithm>

SitePinListModel::SitePinListModel(const QIcon &icon, std::shared_ptr<NameOrder> order, QObject *parent)
    : QAbstractListModel(parent)
    , m_icon(icon)
    , m_order(std::move(order))
{
}

bool SitePinListModel::lessThan(const Entry &a, const Entry &b) const
{
    const int order = m_order->compare(a.row.name, b.row.name);
    return order != 0 ? order < 0 : a.added < b.added;
}

void SitePinListModel::sortByName(std::vector<Entry> &entries) const
{
    std::vector<const QString *> names;
    names.reserve(entries.size());
    for (const Entry &entry : entries)
        names.push_back(&entry.row.name);
    std::vector<Entry> sorted;
    sorted.reserve(entries.size());
    for (const size_t i : m_order->order(names))
        sorted.push_back(std::move(entries[i]));
    entries = std::move(sorted);
}

void SitePinListModel::fill(std::vector<SitePinRow> rows)
{
    std::vector<Entry> entries;
    entries.reserve(rows.size());
    for (SitePinRow &row : rows)
        entries.push_back({std::move(row), int(entries.size())});
    if (m_order)
        sortByName(entries);
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

void SitePinListModel::clear()
{
    fill({});
}

int SitePinListModel::append(SitePinRow row)
{
    Entry entry{std::move(row), int(m_entries.size())};
    const auto at = m_order ? std::upper_bound(m_entries.begin(), m_entries.end(), entry,
                                               [this](const Entry &a, const Entry &b) { return lessThan(a, b); })
                            : m_entries.end();
    const int position = int(at - m_entries.begin());
    beginInsertRows({}, position, position);
    m_entries.insert(at, std::move(entry));
    endInsertRows();
    return position;
}

void SitePinListModel::removeWid(const QString &wid)
{
    for (int row = int(m_entries.size()) - 1; row >= 0; --row) {
        if (m_entries[size_t(row)].row.wid.compare(wid, Qt::CaseInsensitive) == 0)
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
    renamed.row.name = name;
    int to = row;
    if (m_order) {
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
    return row >= 0 && row < rowCount() ? m_entries[size_t(row)].row.wid : QString();
}

QString SitePinListModel::name(int row) const
{
    return row >= 0 && row < rowCount() ? m_entries[size_t(row)].row.name : QString();
}

int SitePinListModel::lastAddedNamed(const QString &name) const
{
    int found = -1;
    for (size_t row = 0; row < m_entries.size(); ++row) {
        if (m_entries[row].row.name.compare(name, Qt::CaseInsensitive) == 0 &&
            (found < 0 || m_entries[row].added > m_entries[size_t(found)].added))
            found = int(row);
    }
    return found;
}

QStringList SitePinListModel::widsInAddedOrder() const
{
    QStringList wids(qsizetype(m_entries.size()));
    for (const Entry &entry : m_entries)
        wids[entry.added] = entry.row.wid;
    return wids;
}

int SitePinListModel::rowOf(const QString &wid) const
{
    for (int row = 0; row < rowCount(); ++row) {
        if (m_entries[size_t(row)].row.wid.compare(wid, Qt::CaseInsensitive) == 0)
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
        return entry.row.name;
    case Qt::DecorationRole:
        return m_icon;
    case TagRole:
        return entry.row.wid;
    default:
        return {};
    }
}

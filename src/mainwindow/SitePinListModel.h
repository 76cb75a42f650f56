#pragma once

#include "store/SitePinRow.h"

#include <QAbstractListModel>
#include <QIcon>

#include <memory>
#include <vector>

class NameOrder;

// The entries of one SitePin list (tvwWM, tvwSearch, tvwFavs): each shows a
// SitePin's name with the SitePin picture and carries its WID as tag. A
// sorted list orders by name with the user's collation; every list also
// knows the order its entries were added in.
class SitePinListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    static constexpr int TagRole = Qt::UserRole;

    // A null order leaves the entries in the order they were added.
    SitePinListModel(const QIcon &icon, std::shared_ptr<NameOrder> order, QObject *parent);

    // Replaces every entry at once; they are added in the given order.
    void fill(std::vector<SitePinRow> rows);
    void clear();
    // Adds one entry last in the order of adding; returns its row.
    int append(SitePinRow row);
    // Removes every entry carrying the WID (compared without regard to case).
    void removeWid(const QString &wid);
    // Removes the entry at a position in the order of adding.
    void removeAdded(int position);
    // Gives the entry a new name, and a new place in a sorted list.
    void rename(int row, const QString &name);

    QString wid(int row) const;
    QString name(int row) const;
    // The entry added last among those with the name (without regard to
    // case), or -1.
    int lastAddedNamed(const QString &name) const;
    QStringList widsInAddedOrder() const;
    // The first row carrying the WID (compared without regard to case), or -1.
    int rowOf(const QString &wid) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    struct Entry
    {
        SitePinRow row;
        int added = 0; // position in the order of adding
    };

    bool lessThan(const Entry &a, const Entry &b) const;
    void sortByName(std::vector<Entry> &entries) const;

    std::vector<Entry> m_entries;
    QIcon m_icon;
    std::shared_ptr<NameOrder> m_order;
};

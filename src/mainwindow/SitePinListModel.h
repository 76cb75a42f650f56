#pragma once

#include <QAbstractListModel>
#include <QCollator>
#include <QIcon>

#include <vector>

class XmlNode;

// The entries of one SitePin list (tvwWM, tvwSearch, tvwFavs): each shows a
// SitePin's name with the SitePin picture and carries its WID as tag. A
// sorted list orders by name with the user's collation; every list also
// knows the order its entries were added in.
class SitePinListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    static constexpr int TagRole = Qt::UserRole;

    struct Entry
    {
        QString wid;
        QString name;
        int added = 0; // position in the order of adding
    };

    SitePinListModel(const QIcon &icon, bool sorted, QObject *parent);

    static Entry entryOf(const XmlNode &sitePin);

    // Replaces every entry at once; they are added in the given order.
    void fill(std::vector<Entry> entries);
    void clear();
    // Adds one entry last in the order of adding; returns its row.
    int append(Entry entry);
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
    bool lessThan(const Entry &a, const Entry &b) const;
    void sortByName(std::vector<Entry> &entries) const;

    std::vector<Entry> m_entries;
    QIcon m_icon;
    bool m_sorted;
    QCollator m_collator;
};

#pragma once

#include <QCollator>
#include <QString>

#include <unordered_map>
#include <vector>

// The order of SitePin names in the user's language, without regard to
// case. Sorting thousands of names needs a key per name, which costs more
// than the rest of filling a list; the same names come back at every click
// on a folder and every search, so the keys are kept.
class NameOrder
{
public:
    NameOrder();

    int compare(const QString &a, const QString &b) const;
    // Positions into `names`, in name order. Names the collation finds equal
    // go by their characters (capitals first), then by position.
    std::vector<size_t> order(const std::vector<const QString *> &names);

private:
    template<typename Key>
    std::vector<size_t> orderBy(const std::vector<const QString *> &names, const std::vector<const Key *> &keys) const;
    const QCollatorSortKey &collatedKey(const QString &name);
    const QString &foldedKey(const QString &name);
    void makeRoomFor(size_t count);

    QCollator m_collator;
    // The C locale has no collation of its own: there names compare case-folded.
    bool m_folds;
    std::unordered_map<QString, QCollatorSortKey> m_collated;
    std::unordered_map<QString, QString> m_folded;
};

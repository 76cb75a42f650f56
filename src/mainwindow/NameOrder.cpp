#include "mainwindow/NameOrder.h"

#include <algorithm>
#include <numeric>

namespace {

// Twice the SitePins a library can hold: renamed names come and go.
constexpr size_t kMaxKeys = 65536;

} // namespace

NameOrder::NameOrder()
    : m_folds(m_collator.locale().language() == QLocale::C)
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
}

int NameOrder::compare(const QString &a, const QString &b) const
{
    const int order = m_collator.compare(a, b);
    return order != 0 ? order : a.compare(b);
}

std::vector<size_t> NameOrder::order(const std::vector<const QString *> &names)
{
    // Keys are referred to while sorting, so room is made before any is added.
    makeRoomFor(names.size());
    if (m_folds) {
        std::vector<const QString *> keys;
        keys.reserve(names.size());
        for (const QString *name : names)
            keys.push_back(&foldedKey(*name));
        return orderBy(names, keys);
    }
    std::vector<const QCollatorSortKey *> keys;
    keys.reserve(names.size());
    for (const QString *name : names)
        keys.push_back(&collatedKey(*name));
    return orderBy(names, keys);
}

template<typename Key>
std::vector<size_t> NameOrder::orderBy(const std::vector<const QString *> &names,
                                       const std::vector<const Key *> &keys) const
{
    std::vector<size_t> positions(names.size());
    std::iota(positions.begin(), positions.end(), size_t(0));
    std::stable_sort(positions.begin(), positions.end(), [&](size_t a, size_t b) {
        const int byKey = keys[a]->compare(*keys[b]);
        return byKey != 0 ? byKey < 0 : *names[a] < *names[b];
    });
    return positions;
}

const QCollatorSortKey &NameOrder::collatedKey(const QString &name)
{
    const auto found = m_collated.find(name);
    return found != m_collated.end() ? found->second : m_collated.emplace(name, m_collator.sortKey(name)).first->second;
}

const QString &NameOrder::foldedKey(const QString &name)
{
    const auto found = m_folded.find(name);
    return found != m_folded.end() ? found->second : m_folded.emplace(name, name.toCaseFolded()).first->second;
}

void NameOrder::makeRoomFor(size_t count)
{
    if (m_collated.size() + m_folded.size() + count > kMaxKeys) {
        m_collated.clear();
        m_folded.clear();
    }
}

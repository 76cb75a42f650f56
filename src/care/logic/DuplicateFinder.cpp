#include "care/logic/DuplicateFinder.h"

#include "care/logic/AddressKey.h"
#include "store/SitePinTextIndex.h"
#include "store/XmlDocument.h"

#include <QHash>

namespace {

struct Entry
{
    XmlNode sitePin;
    AddressKey::Scheme scheme;
    int key;
};

struct Key
{
    AddressKey first;
    int count = 0;
    int group = -1;
};

// Groups entries by key: the keys in order of first appearance, with how
// many entries each has.
class KeyCounter
{
public:
    explicit KeyCounter(size_t expected)
    {
        m_index.reserve(qsizetype(expected));
        m_entries.reserve(expected);
    }

    void add(const XmlNode &sitePin, const AddressKey &address)
    {
        if (address.key().isEmpty())
            return;
        auto found = m_index.find(address.key());
        if (found == m_index.end()) {
            found = m_index.insert(address.key(), int(m_keys.size()));
            m_keys.push_back({address, 0, -1});
        }
        ++m_keys[size_t(*found)].count;
        m_entries.push_back({sitePin, address.scheme(), *found});
    }

    // The entries of keys held more than once, in order.
    template<typename Visit>
    void forEachShared(Visit visit)
    {
        for (const Entry &entry : m_entries) {
            Key &key = m_keys[size_t(entry.key)];
            if (key.count > 1)
                visit(entry, key);
        }
    }

private:
    QHash<QByteArray, int> m_index;
    std::vector<Key> m_keys;
    std::vector<Entry> m_entries;
};

// Lower case only merges more addresses, never fewer, so every true group
// lies within one group of the first pass.
std::vector<XmlNode> candidates(const XmlDocument &dom, SitePinTextIndex &texts)
{
    const std::vector<SitePinTextIndex::FieldText> addresses = texts.fieldTexts(dom, SitePinTextIndex::Field::Address);
    KeyCounter lowered(addresses.size());
    for (const SitePinTextIndex::FieldText &address : addresses)
        lowered.add(address.sitePin, AddressKey::of(address.text));
    std::vector<XmlNode> result;
    lowered.forEachShared([&result](const Entry &entry, const Key &) { result.push_back(entry.sitePin); });
    return result;
}

} // namespace

std::vector<DuplicateGroup> DuplicateFinder::find(const XmlDocument &dom, SitePinTextIndex &texts)
{
    std::vector<DuplicateGroup> groups;
    if (dom.isEmpty())
        return groups;
    const std::vector<XmlNode> sitePins = candidates(dom, texts);
    KeyCounter exact(sitePins.size());
    const QString addressName = QStringLiteral("ADDRESS");
    for (const XmlNode &sitePin : sitePins)
        exact.add(sitePin, AddressKey::of(sitePin.selectSingleNode(addressName).text()));
    exact.forEachShared([&groups](const Entry &entry, Key &key) {
        if (key.group < 0) {
            key.group = int(groups.size());
            groups.push_back({key.first.normalised(), false, {}});
            groups.back().sitePins.reserve(size_t(key.count));
        }
        DuplicateGroup &group = groups[size_t(key.group)];
        group.sitePins.push_back(entry.sitePin);
        if (entry.scheme != key.first.scheme())
            group.mixesHttpAndHttps = true;
    });
    return groups;
}

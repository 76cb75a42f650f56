#include "care/logic/DuplicateFinder.h"

#include "care/logic/AddressKey.h"
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

} // namespace

std::vector<DuplicateGroup> DuplicateFinder::find(const XmlDocument &dom)
{
    std::vector<DuplicateGroup> groups;
    if (dom.isEmpty())
        return groups;
    std::vector<Entry> entries;
    std::vector<Key> keys;
    QHash<QByteArray, int> keyIndex;
    const QString addressName = QStringLiteral("ADDRESS");
    dom.documentElement().forEachOutermostElementByTagName(QStringLiteral("SITEPIN"), [&](const XmlNode &sitePin) {
        AddressKey address = AddressKey::of(sitePin.selectSingleNode(addressName).text());
        if (address.key().isEmpty())
            return;
        auto found = keyIndex.find(address.key());
        if (found == keyIndex.end()) {
            found = keyIndex.insert(address.key(), int(keys.size()));
            keys.push_back({address, 0, -1});
        }
        ++keys[size_t(*found)].count;
        entries.push_back({sitePin, address.scheme(), *found});
    });
    for (const Entry &entry : entries) {
        Key &key = keys[size_t(entry.key)];
        if (key.count < 2)
            continue;
        if (key.group < 0) {
            key.group = int(groups.size());
            groups.push_back({key.first.normalised(), false, {}});
            groups.back().sitePins.reserve(size_t(key.count));
        }
        DuplicateGroup &group = groups[size_t(key.group)];
        group.sitePins.push_back(entry.sitePin);
        if (entry.scheme != key.first.scheme())
            group.mixesHttpAndHttps = true;
    }
    return groups;
}

#include "care/logic/DuplicateFinder.h"
#include "LibraryGenerator.h"
#include "QtPrinters.h"
#include "care/logic/AddressKey.h"
#include "store/LibraryElements.h"
#include "store/SitePinTextIndex.h"
#include "store/XMLDatabase.h"

#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Pair
{
    const char *first;
    const char *second;
    bool same;
};

TEST(AddressKeyTest, copiesOfOnePageShareAKeyAndOtherPagesDoNot)
{
    const Pair pairs[] = {
        {"HTTP://Example.COM/Path", "http://example.com/Path", true},
        {"http://example.com/Path", "http://example.com/path", false},
        {"http://example.com:80/a", "http://example.com/a", true},
        {"https://example.com:443/a", "https://example.com/a", true},
        {"http://example.com:8080/a", "http://example.com/a", false},
        {"https://example.com:80/a", "https://example.com/a", false},
        {"http://example.com", "http://example.com/", true},
        {"http://example.com?q=1", "http://example.com/?q=1", true},
        {"http://example.com/a/", "http://example.com/a", false},
        {"http://example.com/a#intro", "http://example.com/a", true},
        {"http://example.com/a?id=3#intro", "http://example.com/a?id=3", true},
        {"https://mail.example.com/#/inbox", "https://mail.example.com/#/sent", false},
        {"https://example.com/#!/page", "https://example.com/", false},
        {"http://example.com/a?utm_source=x&id=3&fbclid=abc", "http://example.com/a?id=3", true},
        {"http://example.com/a?UTM_Medium=mail&Gclid=1&mc_eid=2&msclkid=3", "http://example.com/a", true},
        {"http://example.com/a?utm=1", "http://example.com/a", false},
        {"http://example.com/a?b=1&a=2", "http://example.com/a?a=2&b=1", false},
        {"http://example.com/a?id=1", "http://example.com/a?id=2", false},
        {"http://example.com/a", "https://example.com/a", true},
        {"  http://example.com/a\n", "http://example.com/a", true},
        {"http://[2001:DB8::1]:80/", "http://[2001:db8::1]/", true},
        {"http://[2001:db8::1]:8080/", "http://[2001:db8::1]/", false},
        {"http://user@Example.com/", "http://user@example.com/", true},
        {"ftp://Example.com:21/file", "ftp://example.com/file", true},
        {"ftp://example.com/file", "http://example.com/file", false},
        {"MAILTO:someone@example.com", "mailto:someone@example.com", true},
        {"http://www.example.com/", "http://example.com/", false},
        {"https://B\xc3\x9c"
         "CHER.example.de/",
         "https://b\xc3\xbc"
         "cher.example.de/",
         true},
    };
    for (const Pair &pair : pairs) {
        SCOPED_TRACE(std::string(pair.first) + " | " + pair.second);
        const AddressKey first = AddressKey::of(QString::fromUtf8(pair.first));
        const AddressKey second = AddressKey::of(QString::fromUtf8(pair.second));
        EXPECT_EQ(first.key() == second.key(), pair.same)
            << first.key().toStdString() << " | " << second.key().toStdString();
    }
    EXPECT_EQ(AddressKey::of(QStringLiteral("HTTPS://Example.COM:443?utm_source=x&p=Q#top")).normalised(),
              "https://example.com/?p=Q");
    EXPECT_EQ(AddressKey::of(QStringLiteral("http://example.com/a")).scheme(), AddressKey::Scheme::Http);
    EXPECT_TRUE(AddressKey::of(QStringLiteral("   ")).key().isEmpty());
}

qsizetype hostStart(const QString &address)
{
    return address.indexOf(QLatin1String("://")) + 3;
}

qsizetype hostEnd(const QString &address)
{
    qsizetype end = hostStart(address);
    while (end < address.size() && !QStringLiteral("/?#").contains(address[end]))
        ++end;
    return end;
}

QString withUpperCaseHost(const QString &address)
{
    const qsizetype start = hostStart(address);
    return address.left(start) + address.mid(start, hostEnd(address) - start).toUpper() + address.mid(hostEnd(address));
}

QString withParameter(const QString &address, const QString &parameter)
{
    return address + (address.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?')) + parameter;
}

QString withDefaultPort(const QString &address)
{
    return address.left(hostEnd(address)) + QStringLiteral(":443") + address.mid(hostEnd(address));
}

class GeneratedLibrary
{
public:
    GeneratedLibrary()
    {
        const QString path = m_folder.filePath(QStringLiteral("SitePins.xml"));
        EXPECT_TRUE(LibraryGenerator::writeLibrary(path, 3000, 7).isEmpty());
        EXPECT_TRUE(m_database.openDBValidate(path));
        dom = m_database.getTheDOM();
    }

    QString address(const XmlNode &sitePin) const { return sitePin.selectSingleNode("ADDRESS").text(); }

    // Appends a SitePin with this address to the first folder.
    QString plant(const QString &address)
    {
        XmlNode sitePins = dom.documentElement().firstChildElement().selectSingleNode("SITEPINS");
        const QString wid = m_database.getNewWID();
        LibraryElements::appendSitePin(dom, sitePins, wid, {"Planted", address, "09 Mar 2026", {}, {}, false});
        return wid;
    }

    XmlDocument dom;
    SitePinTextIndex texts;

private:
    QTemporaryDir m_folder;
    XMLDatabase m_database;
};

QSet<QString> widsOf(const DuplicateGroup &group)
{
    QSet<QString> wids;
    for (const XmlNode &sitePin : group.sitePins)
        wids << sitePin.getAttribute("WID");
    return wids;
}

size_t sitePinsIn(const std::vector<DuplicateGroup> &groups)
{
    size_t count = 0;
    for (const DuplicateGroup &group : groups)
        count += group.sitePins.size();
    return count;
}

const DuplicateGroup *groupHolding(const std::vector<DuplicateGroup> &groups, const QString &wid)
{
    for (const DuplicateGroup &group : groups) {
        if (widsOf(group).contains(wid))
            return &group;
    }
    return nullptr;
}

// The generated library has copies of its own; the planted ones must join
// exactly the SitePins they copy, and the near misses must not.
TEST(DuplicateFinderTest, findsTheCopiesPlantedInAGeneratedLibrary)
{
    GeneratedLibrary library;
    const std::vector<DuplicateGroup> before = DuplicateFinder::find(library.dom, library.texts);
    QSet<QString> grouped;
    for (const DuplicateGroup &group : before)
        grouped += widsOf(group);
    ASSERT_FALSE(before.empty());

    // Two https SitePins of their own, without a fragment or a port.
    std::vector<XmlNode> originals;
    for (const XmlNode &sitePin : library.dom.documentElement().getElementsByTagName("SITEPIN")) {
        const QString address = library.address(sitePin);
        if (originals.size() < 2 && !grouped.contains(sitePin.getAttribute("WID")) && address.startsWith("https://") &&
            !address.contains('#') &&
            !address.mid(hostStart(address), hostEnd(address) - hostStart(address)).contains(':'))
            originals.push_back(sitePin);
    }
    ASSERT_EQ(originals.size(), 2u);
    const QString a = library.address(originals[0]);
    const QString b = library.address(originals[1]);
    const QSet<QString> copiesOfA = {
        library.plant(withUpperCaseHost(a)), library.plant(withParameter(a, "utm_source=newsletter")),
        library.plant(a + "#top"), library.plant(QString(a).replace("https://", "http://"))};
    const QString copyOfB = library.plant(withDefaultPort(b));
    const QString nearMiss = library.plant(withParameter(a, "page=2"));
    const QString otherPath = library.plant(a + "x");

    const std::vector<DuplicateGroup> after = DuplicateFinder::find(library.dom, library.texts);
    const DuplicateGroup *groupA = groupHolding(after, originals[0].getAttribute("WID"));
    const DuplicateGroup *groupB = groupHolding(after, originals[1].getAttribute("WID"));
    ASSERT_TRUE(groupA && groupB);
    EXPECT_EQ(widsOf(*groupA), copiesOfA + QSet<QString>{originals[0].getAttribute("WID")});
    EXPECT_TRUE(groupA->mixesHttpAndHttps);
    EXPECT_EQ(groupA->address, AddressKey::of(a).normalised());
    EXPECT_EQ(widsOf(*groupB), (QSet<QString>{originals[1].getAttribute("WID"), copyOfB}));
    EXPECT_FALSE(groupB->mixesHttpAndHttps);
    EXPECT_EQ(after.size(), before.size() + 2);
    EXPECT_EQ(sitePinsIn(after), sitePinsIn(before) + 7);
    EXPECT_FALSE(groupHolding(after, nearMiss));
    EXPECT_FALSE(groupHolding(after, otherPath));

    // Each SitePin in one group at most.
    QSet<QString> seen;
    for (const DuplicateGroup &group : after) {
        EXPECT_GE(group.sitePins.size(), 2u);
        for (const QString &wid : widsOf(group))
            EXPECT_FALSE(seen.contains(wid)) << wid.toStdString();
        seen += widsOf(group);
    }
}

} // namespace

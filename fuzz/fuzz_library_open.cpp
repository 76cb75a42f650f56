// Opening a library document, and what the program does with one that
// opened: look identifiers up, read every SitePin, search, favourites, add a
// folder and a SitePin, and write it out again. Whatever opened must open
// again once written, or the next save would lose the library.
#include "FuzzScratch.h"
#include "store/LibraryElements.h"
#include "store/SitePinTextIndex.h"
#include "store/XMLDatabase.h"

#include <cstdio>
#include <cstdlib>

namespace {

void readEverySitePin(const XMLDatabase &db, const XmlDocument &dom)
{
    dom.documentElement().forEachOutermostElementByTagName(QStringLiteral("SITEPIN"), [&](const XmlNode &sitePin) {
        const QString wid = sitePin.getAttribute(QStringLiteral("WID"));
        if (dom.nodeFromID(wid).isNull())
            return;
        (void)db.getSPAsFormattedString(wid);
        (void)db.getSPNotes(wid);
    });
}

void searchAndListFavourites(const XmlDocument &dom)
{
    SitePinTextIndex index;
    (void)index.find(dom, "a", SitePinTextIndex::Field::Any, [](const XmlNode &) { return true; });
    (void)index.find(dom, "http", SitePinTextIndex::Field::Address, [](const XmlNode &) { return false; });
    (void)index.findWithText(dom, SitePinTextIndex::Field::Notes);
    (void)index.favourites(dom);
}

void addAFolderAndASitePin(const XMLDatabase &db, XmlDocument &dom)
{
    XmlNode root = dom.documentElement();
    const QString tid = db.getNewTID();
    const QString wid = db.getNewWID();
    if (tid.isEmpty() || wid.isEmpty())
        return;
    XmlNode folder = LibraryElements::appendFolder(dom, root, tid, QStringLiteral("Fuzzed"));
    XmlNode sitePins = folder.selectSingleNode(QStringLiteral("SITEPINS"));
    if (sitePins) {
        SitePinFields fields;
        fields.name = QStringLiteral("Name");
        fields.address = QStringLiteral("http://a/");
        LibraryElements::appendSitePin(dom, sitePins, wid, fields);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = FuzzScratch::file(QStringLiteral("SitePins.xml"), data, size);
    XMLDatabase db;
    if (!db.openDBValidate(path))
        return 0;
    XmlDocument dom = db.getTheDOM();
    (void)db.countElements(QStringLiteral("FOLDER"));
    readEverySitePin(db, dom);
    searchAndListFavourites(dom);
    addAFolderAndASitePin(db, dom);

    const QByteArray written = dom.serialize();
    const QString again =
        FuzzScratch::file(QStringLiteral("Saved.xml"), reinterpret_cast<const std::uint8_t *>(written.constData()),
                          std::size_t(written.size()));
    XMLDatabase reopened;
    if (!reopened.openDBValidate(again)) {
        std::fprintf(stderr, "Written library does not open again: %s\n",
                     reopened.lastOpenError().toLocal8Bit().constData());
        std::abort();
    }
    return 0;
}

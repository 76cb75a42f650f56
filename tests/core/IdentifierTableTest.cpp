#include "LibraryText.h"
#include "store/SitePinTextIndex.h"
#include "store/XMLDatabase.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>

namespace {

using L = LibraryText;

class IdentifierTableTest : public ::testing::Test
{
protected:
    XmlDocument open(const QString &body)
    {
        EXPECT_TRUE(L::writeFile(m_path, L::document(body)));
        EXPECT_TRUE(m_db.openDBValidate(m_path)) << m_db.lastOpenError().toStdString();
        return m_db.getTheDOM();
    }

    QTemporaryDir m_dir;
    const QString m_path = m_dir.filePath("SitePins.xml");
    XMLDatabase m_db;
};

XmlNode newSitePin(XmlDocument &doc, const QString &wid, const QString &name)
{
    XmlNode sitePin = doc.createElement("SITEPIN");
    sitePin.setAttribute("WID", wid);
    XmlNode nameElement = doc.createElement("NAME");
    nameElement.setText(name);
    sitePin.appendChild(nameElement);
    return sitePin;
}

QString nameOf(const XmlNode &element)
{
    return element.selectSingleNode("NAME").text();
}

// The elements in the document carrying each identifier, found by walking it.
std::map<QString, std::vector<XmlNode>> carriersByWalk(const XmlDocument &doc)
{
    std::map<QString, std::vector<XmlNode>> carriers;
    const XmlNode root = doc.documentElement();
    for (const auto &[tag, attribute] : {std::pair{"FOLDER", "TID"}, {"SITEPIN", "WID"}}) {
        for (const XmlNode &element : root.getElementsByTagName(tag)) {
            const QString id = element.getAttribute(attribute);
            if (!id.isEmpty())
                carriers[id].push_back(element);
        }
    }
    return carriers;
}

} // namespace

TEST_F(IdentifierTableTest, FolderInsideRemovedFolderIsFoundAfterReattach)
{
    XmlDocument doc =
        open(L::folder(1, "Outer", L::sitePin(1, "a"),
                       L::folder(2, "Inner", L::sitePin(2, "b"), L::folder(3, "Innermost", L::sitePin(3, "c")))) +
             L::folder(4, "Live"));
    XmlNode outer = doc.nodeFromID("T1");
    XmlNode inner = doc.nodeFromID("T2");
    ASSERT_TRUE(doc.documentElement().removeChild(outer));
    ASSERT_TRUE(doc.nodeFromID("T4").selectSingleNode("SUBFOLDERS").appendChild(inner));
    const std::pair<const char *, const char *> below[] = {
        {"T2", "Inner"}, {"W2", "b"}, {"T3", "Innermost"}, {"W3", "c"}};
    for (const auto &[id, name] : below)
        EXPECT_EQ(nameOf(doc.nodeFromID(id)), name) << id;
    EXPECT_FALSE(doc.nodeFromID("T1"));
    EXPECT_FALSE(doc.nodeFromID("W1"));

    ASSERT_TRUE(outer.selectSingleNode("SUBFOLDERS").appendChild(inner));
    for (const auto &[id, name] : below)
        EXPECT_FALSE(doc.nodeFromID(id)) << id << " moved into a removed folder";
}

TEST_F(IdentifierTableTest, UnattachedElementLeavesItsIdentifierFree)
{
    XmlDocument doc = open(L::folder(1, "A", L::sitePin(1, "a")));
    const QString wid = m_db.getNewWID();
    const XmlNode abandoned = newSitePin(doc, wid, "abandoned");
    EXPECT_FALSE(doc.nodeFromID(wid));
    EXPECT_EQ(m_db.getNewWID(), wid) << "an element never attached holds no identifier";
    const XmlNode kept = newSitePin(doc, wid, "kept");
    ASSERT_TRUE(doc.nodeFromID("T1").selectSingleNode("SITEPINS").appendChild(kept));
    EXPECT_EQ(doc.nodeFromID(wid), kept);
    EXPECT_EQ(m_db.getNewWID(), "W3");

    XmlNode removed = doc.nodeFromID("W1");
    ASSERT_TRUE(removed.parentNode().removeChild(removed));
    removed.setAttribute("WID", "W7");
    EXPECT_FALSE(doc.nodeFromID("W7")) << "a removed element given an identifier";
}

// However the second carrier came into the document, it is found once the
// first has gone.
TEST_F(IdentifierTableTest, NewSitePinWithOldIdentifierIsFoundAfterOldOneGoes)
{
    const std::pair<const char *, std::function<void(XmlDocument &)>> cases[] = {
        {"appended",
         [](XmlDocument &doc) {
             doc.nodeFromID("T2").selectSingleNode("SITEPINS").appendChild(newSitePin(doc, "W1", "new"));
         }},
        {"given the identifier",
         [](XmlDocument &doc) {
             XmlNode sitePin = newSitePin(doc, "W9", "new");
             doc.nodeFromID("T2").selectSingleNode("SITEPINS").appendChild(sitePin);
             sitePin.setAttribute("WID", "W1");
         }},
        {"in the file", [](XmlDocument &) {
         }}};
    for (const auto &[how, addNew] : cases) {
        SCOPED_TRACE(how);
        const bool inFile = QByteArray(how) == "in the file";
        XmlDocument doc =
            open(L::folder(1, "A", L::sitePin(1, "old")) + L::folder(2, "B", inFile ? L::sitePin(1, "new") : ""));
        addNew(doc);
        EXPECT_EQ(doc.documentElement().getElementsByTagName("SITEPIN").size(), 2u);
        XmlNode old = doc.nodeFromID("T1").selectSingleNode("SITEPINS").firstChildElement();
        ASSERT_TRUE(old.parentNode().removeChild(old));
        const XmlNode found = doc.nodeFromID("W1");
        EXPECT_EQ(nameOf(found), "new");
        EXPECT_EQ(m_db.getNewWID(), "W2");
        ASSERT_TRUE(found.parentNode().removeChild(found));
        EXPECT_FALSE(doc.nodeFromID("W1"));
        EXPECT_EQ(m_db.getNewWID(), "W1");
    }
}

namespace {

// Random edits of every kind, on elements in the document, removed ones,
// ones inside removed folders and ones never attached, with saves and
// reopens between them; after every step the ID table must agree with a
// walk of the document.
class IdentifierTableRandomTest : public IdentifierTableTest
{
protected:
    void SetUp() override
    {
        QString body;
        for (int tid = 1; tid <= 4; ++tid) {
            QString pins;
            for (int wid = 2 * tid - 1; wid <= 2 * tid; ++wid)
                pins += L::sitePin(wid, QString("Pin %1").arg(wid), "", "", wid % 3 ? "FALSE" : "TRUE");
            body += L::folder(tid, QString("Folder %1").arg(tid), pins);
        }
        m_doc = open(body);
        takeHandlesFromTheDocument();
    }

    void takeHandlesFromTheDocument()
    {
        const XmlNode root = m_doc.documentElement();
        m_folders = root.getElementsByTagName("FOLDER");
        m_sitePins = root.getElementsByTagName("SITEPIN");
        for (const auto &[id, carriers] : carriersByWalk(m_doc))
            m_everUsed.insert(id);
        // Everything may have been removed before the save.
        if (m_folders.empty())
            create(true, root);
        if (m_sitePins.empty())
            create(false, m_folders.front().selectSingleNode("SITEPINS"));
    }

    template<typename List>
    auto &pick(List &list)
    {
        return list[m_random.bounded(int(std::size(list)))];
    }

    // Mostly a fresh identifier; sometimes one another element carries, or
    // any of a few.
    QString identifier(bool folder)
    {
        const int choice = m_random.bounded(10);
        QString id;
        if (choice < 6 || (folder ? m_folders : m_sitePins).empty())
            id = folder ? m_db.getNewTID() : m_db.getNewWID();
        else if (choice < 9)
            id = pick(folder ? m_folders : m_sitePins).getAttribute(folder ? "TID" : "WID");
        else
            id = QString(folder ? "T%1" : "W%1").arg(m_random.bounded(1, 30));
        m_everUsed.insert(id);
        return id;
    }

    // A place for the element, in the document or not.
    XmlNode container(bool forFolder)
    {
        if (forFolder && m_random.bounded(4) == 0)
            return m_doc.documentElement();
        return pick(m_folders).selectSingleNode(forFolder ? "SUBFOLDERS" : "SITEPINS");
    }

    void create(bool folder) { create(folder, m_random.bounded(4) != 0 ? container(folder) : XmlNode()); }
    void create(bool folder, const XmlNode &target)
    {
        XmlNode element = m_doc.createElement(folder ? "FOLDER" : "SITEPIN");
        element.setAttribute(folder ? "TID" : "WID", identifier(folder));
        for (const QString &child : folder ? QStringList{"NAME", "SITEPINS", "SUBFOLDERS"} : QStringList{"NAME", "FAV"})
            element.appendChild(m_doc.createElement(child));
        element.selectSingleNode("NAME").setText("Pin new");
        (folder ? m_folders : m_sitePins).push_back(element);
        append(element, target);
    }

    void append(const XmlNode &element, XmlNode target)
    {
        if (!target)
            return;
        bool cycle = false;
        for (XmlNode walk = target; walk; walk = walk.parentNode())
            cycle = cycle || walk == element;
        if (!element.isInDocument() && element.parentNode() && target.isInDocument())
            ++m_reattachedFromRemovedFolder;
        EXPECT_EQ(target.appendChild(element), !cycle);
    }

    void remove(const XmlNode &element)
    {
        if (element.parentNode()) {
            EXPECT_TRUE(element.parentNode().removeChild(element));
        }
    }

    void setText()
    {
        static const char *const folderParts[] = {"NAME", "SITEPINS", "SUBFOLDERS"};
        if (m_random.bounded(3) == 0)
            pick(m_sitePins).setText("own text");
        else
            pick(m_folders).selectSingleNode(pick(folderParts)).setText("Pin text");
    }

    void saveAndReopen()
    {
        ASSERT_TRUE(m_doc.save(m_path).ok);
        ++m_reopened;
        if (m_random.bounded(2) == 0) {
            ASSERT_TRUE(m_db.openDBValidate(m_path));
            m_doc = m_db.getTheDOM();
        } else { // into the same object: every handle taken before reads as null
            ASSERT_TRUE(m_doc.load(m_path));
            for (const auto *list : {&m_folders, &m_sitePins}) {
                for (const XmlNode &stale : *list) {
                    EXPECT_TRUE(stale.isNull());
                    EXPECT_FALSE(m_doc.documentElement().appendChild(stale));
                }
            }
        }
        takeHandlesFromTheDocument();
    }

    void step()
    {
        const bool folder = m_random.bounded(3) == 0;
        const bool crowded = m_folders.size() + m_sitePins.size() > 100;
        switch (m_random.bounded(20)) {
        case 0:
        case 1:
            return crowded ? remove(pick(m_sitePins)) : create(folder);
        case 2:
        case 3:
        case 4:
            return remove(pick(folder ? m_folders : m_sitePins));
        case 5:
        case 6:
            return setText();
        case 7:
        case 8:
            return pick(folder ? m_folders : m_sitePins).setAttribute(folder ? "TID" : "WID", identifier(folder));
        case 9:
            if (m_random.bounded(4) == 0)
                return saveAndReopen();
            [[fallthrough]];
        default:
            return append(pick(folder ? m_folders : m_sitePins), container(folder));
        }
    }

    void expectTableAgreesWithTheDocument(int step)
    {
        const auto carriers = carriersByWalk(m_doc);
        for (const auto &[id, elements] : carriers) {
            const XmlNode found = m_doc.nodeFromID(id);
            EXPECT_TRUE(std::find(elements.begin(), elements.end(), found) != elements.end())
                << "step " << step << ": " << id.toStdString() << " is carried in the document";
            m_carriedTwice += elements.size() > 1 ? 1 : 0;
        }
        for (const QString &id : m_everUsed) {
            if (!carriers.count(id)) {
                EXPECT_FALSE(m_doc.nodeFromID(id)) << "step " << step << ": " << id.toStdString();
            }
        }
        EXPECT_FALSE(carriers.count(m_db.getNewTID())) << "step " << step;
        EXPECT_FALSE(carriers.count(m_db.getNewWID())) << "step " << step;
    }

    void expectKeptCopyOfTextsAnswersAsAFreshOne(int step)
    {
        SitePinTextIndex fresh;
        const auto decide = [](const XmlNode &) {
            return false;
        };
        EXPECT_TRUE(m_kept.find(m_doc, "pin", SitePinTextIndex::Field::Any, decide) ==
                    fresh.find(m_doc, "pin", SitePinTextIndex::Field::Any, decide))
            << "step " << step;
        EXPECT_TRUE(m_kept.favourites(m_doc) == fresh.favourites(m_doc)) << "step " << step;
    }

    QRandomGenerator m_random{20261209};
    XmlDocument m_doc;
    std::vector<XmlNode> m_folders, m_sitePins;
    std::set<QString> m_everUsed;
    SitePinTextIndex m_kept;
    int m_reattachedFromRemovedFolder = 0, m_carriedTwice = 0, m_reopened = 0;
};

} // namespace

TEST_F(IdentifierTableRandomTest, nodeFromIdAgreesWithAWalkOfTheDocumentAfterEveryStep)
{
    for (int step = 0; step < 3000 && !HasFailure(); ++step) {
        this->step();
        expectTableAgreesWithTheDocument(step);
        expectKeptCopyOfTextsAnswersAsAFreshOne(step);
    }
    EXPECT_GT(m_reattachedFromRemovedFolder, 20);
    EXPECT_GT(m_carriedTwice, 100);
    EXPECT_GT(m_reopened, 20);
}

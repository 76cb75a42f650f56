#include "LibraryText.h"
#include "store/LibraryLimits.h"
#include "store/SitePinTextIndex.h"
#include "store/XmlDocument.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using L = LibraryText;

class LibraryDocumentTest : public ::testing::Test
{
protected:
    // Without a body, the file as it is on disk.
    XmlDocument open(const QString &body = {})
    {
        EXPECT_TRUE(body.isEmpty() || L::writeFile(m_path, L::document(body)));
        XmlDocument doc = XmlDocument::create();
        EXPECT_TRUE(doc.load(m_path)) << doc.parseErrorReason().toStdString();
        return doc;
    }

    QTemporaryDir m_dir;
    const QString m_path = m_dir.filePath("SitePins.xml");
};

QStringList names(const std::vector<XmlNode> &nodes)
{
    QStringList result;
    for (const XmlNode &node : nodes)
        result << node.selectSingleNode("NAME").text();
    return result;
}

} // namespace

TEST_F(LibraryDocumentTest, elementsByTagNameAreFoundAtAllDepthsInDocumentOrder)
{
    XmlDocument doc = open(L::folder(1, "A", L::sitePin(1, "a1"),
                                     L::folder(2, "A/B", L::sitePin(2, "b1") + L::sitePin(3, "b2"),
                                               L::folder(3, "A/B/C", L::sitePin(4, "c1")))) +
                           L::folder(4, "D", L::sitePin(5, "d1")));
    const XmlNode root = doc.documentElement();
    EXPECT_EQ(doc.selectSingleNode("FOLDERS"), root);
    EXPECT_EQ(names(root.getElementsByTagName("FOLDER")), QStringList({"A", "A/B", "A/B/C", "D"}));
    EXPECT_EQ(names(root.getElementsByTagName("SITEPIN")), QStringList({"a1", "b1", "b2", "c1", "d1"}));
    EXPECT_EQ(root.countElementsByTagName("SITEPIN"), 5);
    EXPECT_EQ(names(doc.nodeFromID("T2").selectSingleNode("SITEPINS").getElementsByTagName("SITEPIN")),
              QStringList({"b1", "b2"}))
        << "one container's SitePins only";
}

// A handle outlives its element's removal, however the element went.
TEST_F(LibraryDocumentTest, idTableFindsNewElementsAndForgetsRemovedOnes)
{
    XmlDocument doc = open(L::folder(1, "A", L::sitePin(1, "x"), L::folder(2, "Inner", L::sitePin(2, "y"))) +
                           L::folder(4, "B", L::sitePin(4, "z")));
    XmlNode created = doc.createElement("FOLDER");
    created.setAttribute("TID", "T3");
    doc.documentElement().appendChild(created);
    EXPECT_EQ(doc.nodeFromID("T3"), created);

    XmlNode outer = doc.nodeFromID("T1");
    ASSERT_TRUE(doc.documentElement().removeChild(outer));
    for (const char *id : {"T1", "T2", "W1", "W2"})
        EXPECT_FALSE(doc.nodeFromID(id)) << id << " was removed with its folder";
    EXPECT_TRUE(outer.selectSingleNode("NAME")) << "a handle on a removed element stays usable";

    XmlNode reused = doc.createElement("SITEPIN");
    reused.setAttribute("WID", "W2");
    created.appendChild(reused);
    EXPECT_EQ(doc.nodeFromID("W2"), reused) << "a removed element's identifier can be given again";

    XmlNode loose = doc.createElement("FOLDER");
    loose.setAttribute("TID", "T9");
    EXPECT_FALSE(doc.nodeFromID("T9")) << "created but not attached";

    const XmlNode pin = doc.nodeFromID("W4");
    doc.nodeFromID("T4").selectSingleNode("SITEPINS").setText("none");
    EXPECT_EQ(doc.nodeFromID("T4").selectSingleNode("SITEPINS").text(), "none");
    EXPECT_TRUE(doc.nodeFromID("W4").isNull()) << "replaced by text";
    EXPECT_FALSE(pin.isInDocument());
    EXPECT_EQ(pin.selectSingleNode("NAME").text(), "z");
}

TEST_F(LibraryDocumentTest, appendingMovesAnElementAndRefusesCycles)
{
    XmlDocument doc = open(L::folder(1, "A", {}, L::folder(2, "B")) + L::folder(3, "C"));
    XmlNode a = doc.nodeFromID("T1");
    EXPECT_FALSE(doc.nodeFromID("T2").selectSingleNode("SUBFOLDERS").appendChild(a))
        << "a folder cannot go into its own sub-folder";
    EXPECT_FALSE(a.appendChild(a));
    ASSERT_TRUE(doc.nodeFromID("T3").selectSingleNode("SUBFOLDERS").appendChild(a));
    EXPECT_EQ(names(doc.documentElement().childElements()), QStringList({"C"}));
    EXPECT_EQ(doc.nodeFromID("T2").parentNode().parentNode(), a) << "the sub-tree moves whole";
}

// A pasted control character used to be written as a reference no parser
// accepts, so the library could not be opened again.
TEST_F(LibraryDocumentTest, textRoundTripsThroughTheFileDroppingWhatXmlCannotHold)
{
    XmlDocument doc = open(L::folder(1, "A", L::sitePin(1, "x")));
    const QString tricky = QStringLiteral("Fish & Chips <b>\"quoted\"</b> 'single' ]]> &amp; Ünïcödé 日本 🐟\n"
                                          "second line\r\nthird\tline ");
    doc.nodeFromID("W1").selectSingleNode("NOTES").setText(tricky);
    doc.nodeFromID("W1").selectSingleNode("NAME").setText(QString());
    doc.nodeFromID("T1").selectSingleNode("NAME").setText(QStringLiteral("bell\x07 null") + QChar(0) +
                                                          QStringLiteral(" esc\x1b lone") + QChar(0xD800) +
                                                          QStringLiteral(" end") + QChar(0xFFFF));
    ASSERT_TRUE(doc.save(m_path).ok);
    const XmlDocument again = open();
    EXPECT_EQ(again.nodeFromID("W1").selectSingleNode("NOTES").text(), tricky);
    EXPECT_EQ(again.nodeFromID("W1").selectSingleNode("NAME").text(), "") << "an empty element reads as empty";
    EXPECT_EQ(again.nodeFromID("T1").selectSingleNode("NAME").text(), "bell null esc lone end");
}

TEST_F(LibraryDocumentTest, nullAndEmptyDocumentsAreHarmless)
{
    XmlDocument none;
    EXPECT_TRUE(none.isNull());
    EXPECT_FALSE(none.documentElement());
    EXPECT_FALSE(none.nodeFromID("T1"));
    EXPECT_TRUE(XmlDocument::create().isEmpty());
    EXPECT_FALSE(XmlDocument::create().save(m_path).ok) << "nothing to save is not reported as success";
    EXPECT_FALSE(QFile::exists(m_path));
}

// The program refuses deeper folders and longer fields than these, so a
// library at the limits must still open after a save.
TEST_F(LibraryDocumentTest, libraryAtTheLimitsOpensAgainAfterASave)
{
    XmlDocument doc = open(L::nestedFolders(LibraryLimits::kMaxFolderDepth, L::sitePin(1, "deep")));
    ASSERT_TRUE(doc.nodeFromID("W1"));
    const QString longest(LibraryLimits::kMaxFieldLength, QChar(0x65E5)); // three bytes each in UTF-8
    doc.nodeFromID("W1").selectSingleNode("NOTES").setText(longest);
    ASSERT_TRUE(doc.save(m_path).ok);
    const XmlDocument again = open();
    EXPECT_EQ(again.nodeFromID("W1").selectSingleNode("NOTES").text().size(), LibraryLimits::kMaxFieldLength);
    EXPECT_EQ(again.nodeFromID("T100").selectSingleNode("NAME").text(), "L100");
}

TEST_F(LibraryDocumentTest, theDeclarationIsWrittenBackByteForByte)
{
    const QByteArray declaration = "<!DOCTYPE FOLDERS [\n"
                                   "  <!-- folders hold folders ] and > in a comment -->\n"
                                   "  <!ELEMENT FOLDERS (FOLDER*)>\n"
                                   "  <!ELEMENT FOLDER (NAME, SITEPINS, SUBFOLDERS)>\n"
                                   "  <!ATTLIST FOLDER TID ID #REQUIRED note CDATA \"a ] b > c\">\n"
                                   "  <!ATTLIST SITEPIN WID ID #REQUIRED>\n"
                                   "]>";
    ASSERT_TRUE(L::writeFile(m_path, QString::fromUtf8("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + declaration +
                                                       "\n<FOLDERS>" + L::folder(1, "A").toUtf8() + "</FOLDERS>")));
    XmlDocument doc = open();
    doc.nodeFromID("T1").selectSingleNode("NAME").setText("B");
    ASSERT_TRUE(doc.save(m_path).ok);
    const QByteArray saved = L::readFile(m_path);
    EXPECT_TRUE(saved.contains(declaration)) << saved.toStdString();
    EXPECT_EQ(open().nodeFromID("T1").selectSingleNode("NAME").text(), "B");
}

// Loading into a document object, or into a copy sharing it, frees the tree
// its handles point into; they used to read freed memory.
TEST_F(LibraryDocumentTest, HandlesKeptAcrossLoadReadAsNull)
{
    XmlDocument doc = open(L::folder(1, "A", L::sitePin(1, "apple"), L::folder(2, "B")));
    XmlNode removed = doc.nodeFromID("T2");
    ASSERT_TRUE(removed.parentNode().removeChild(removed));
    SitePinTextIndex index;
    const auto hits = index.find(doc, "apple", SitePinTextIndex::Field::Any, [](const XmlNode &) { return false; });
    ASSERT_EQ(hits.size(), 1u);
    const XmlNode kept[] = {doc.documentElement(), doc.nodeFromID("T1"), removed, doc.createElement("SITEPIN"),
                            doc.nodeFromID(hits.front().wid)};

    const QString other = m_dir.filePath("Other.xml");
    ASSERT_TRUE(L::writeFile(other, L::document(L::folder(1, "Other", L::sitePin(1, "pear")))));
    XmlDocument sharing = doc;
    ASSERT_TRUE(sharing.load(other));
    for (XmlNode stale : kept) {
        EXPECT_TRUE(stale.isNull());
        EXPECT_FALSE(stale.isInDocument());
        EXPECT_TRUE(stale.nodeName().isEmpty());
        EXPECT_FALSE(stale.parentNode());
        EXPECT_FALSE(stale.selectSingleNode("NAME"));
        EXPECT_TRUE(stale.childElements().empty());
        EXPECT_TRUE(stale.getAttribute("TID").isEmpty());
        EXPECT_TRUE(stale.text().isEmpty());
        EXPECT_TRUE(stale.ownerDocument().isNull());
        stale.setText("changed");
        stale.setAttribute("WID", "W1");
        EXPECT_FALSE(stale.appendChild(doc.createElement("NAME")));
        EXPECT_FALSE(doc.documentElement().appendChild(stale));
        EXPECT_FALSE(doc.documentElement().removeChild(stale));
    }
    EXPECT_EQ(doc.nodeFromID("W1").selectSingleNode("NAME").text(), "pear");
    const auto found = index.find(doc, "pear", SitePinTextIndex::Field::Any, [](const XmlNode &) { return false; });
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found.front().name, "pear");

    const XmlNode beforeFailure = doc.nodeFromID("T1");
    EXPECT_FALSE(doc.load(m_dir.filePath("Missing.xml")));
    EXPECT_TRUE(beforeFailure.isNull()) << "a failed load frees the tree too";
}

// The document node appended to an element was freed twice with the document.
TEST_F(LibraryDocumentTest, AppendChildRefusesDocumentNode)
{
    {
        XmlDocument doc = open(L::folder(1, "A"));
        const XmlNode root = doc.documentElement();
        XmlNode documentNode = root.parentNode();
        ASSERT_TRUE(documentNode);
        XmlNode loose = doc.createElement("SITEPINS");
        EXPECT_FALSE(loose.appendChild(documentNode));
        EXPECT_FALSE(loose.appendChild(root)) << "the root element stays where it is";
        EXPECT_FALSE(documentNode.removeChild(root));
        EXPECT_FALSE(documentNode.appendChild(loose)) << "no second root";
        EXPECT_EQ(doc.documentElement(), root);
        ASSERT_TRUE(doc.save(m_path).ok);
    }
    EXPECT_EQ(open().nodeFromID("T1").selectSingleNode("NAME").text(), "A");
}

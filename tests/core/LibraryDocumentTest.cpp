#include "LibraryText.h"
#include "store/LibraryLimits.h"
#include "store/XmlDocument.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class LibraryDocumentTest : public ::testing::Test
{
protected:
    XmlDocument open(const QString &body, bool declareIds = true)
    {
        m_path = m_dir.filePath("SitePins.xml");
        EXPECT_TRUE(LibraryText::writeFile(m_path, LibraryText::document(body, declareIds)));
        XmlDocument doc = XmlDocument::create();
        EXPECT_TRUE(doc.load(m_path)) << doc.parseErrorReason().toStdString();
        return doc;
    }
    XmlDocument reload()
    {
        XmlDocument doc = XmlDocument::create();
        EXPECT_TRUE(doc.load(m_path)) << doc.parseErrorReason().toStdString();
        return doc;
    }

    QTemporaryDir m_dir;
    QString m_path;
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
    const QString body =
        LibraryText::folder(1, "A", LibraryText::sitePin(1, "a1"),
                            LibraryText::folder(2, "A/B", LibraryText::sitePin(2, "b1") + LibraryText::sitePin(3, "b2"),
                                                LibraryText::folder(3, "A/B/C", LibraryText::sitePin(4, "c1")))) +
        LibraryText::folder(4, "D", LibraryText::sitePin(5, "d1"));
    XmlDocument doc = open(body);
    const XmlNode root = doc.documentElement();
    EXPECT_EQ(doc.selectSingleNode("FOLDERS"), root);
    EXPECT_EQ(names(root.getElementsByTagName("FOLDER")), QStringList({"A", "A/B", "A/B/C", "D"}));
    EXPECT_EQ(names(root.getElementsByTagName("SITEPIN")), QStringList({"a1", "b1", "b2", "c1", "d1"}));
    EXPECT_EQ(root.countElementsByTagName("SITEPIN"), 5);
    EXPECT_EQ(names(doc.nodeFromID("T2").selectSingleNode("SITEPINS").getElementsByTagName("SITEPIN")),
              QStringList({"b1", "b2"}))
        << "one container's SitePins only";
}

TEST_F(LibraryDocumentTest, idTableFindsNewElementsAndForgetsRemovedOnes)
{
    XmlDocument doc = open(LibraryText::folder(1, "A", LibraryText::sitePin(1, "x"),
                                               LibraryText::folder(2, "Inner", LibraryText::sitePin(2, "y"))));
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
}

TEST_F(LibraryDocumentTest, appendingMovesAnElementAndRefusesCycles)
{
    XmlDocument doc = open(LibraryText::folder(1, "A", {}, LibraryText::folder(2, "B")) + LibraryText::folder(3, "C"));
    XmlNode a = doc.nodeFromID("T1");
    XmlNode b = doc.nodeFromID("T2");
    EXPECT_FALSE(b.selectSingleNode("SUBFOLDERS").appendChild(a)) << "a folder cannot go into its own sub-folder";
    EXPECT_FALSE(a.appendChild(a));

    ASSERT_TRUE(doc.nodeFromID("T3").selectSingleNode("SUBFOLDERS").appendChild(a));
    EXPECT_EQ(names(doc.documentElement().childElements()), QStringList({"C"}));
    EXPECT_EQ(doc.nodeFromID("T2").parentNode().parentNode(), a) << "the sub-tree moves whole";
}

TEST_F(LibraryDocumentTest, textRoundTripsThroughTheFileExactly)
{
    XmlDocument doc = open(LibraryText::folder(1, "A", LibraryText::sitePin(1, "x")));
    const QString tricky = QStringLiteral("Fish & Chips <b>\"quoted\"</b> 'single' ]]> &amp; Ünïcödé 日本 🐟\n"
                                          "second line\r\nthird\tline ");
    doc.nodeFromID("W1").selectSingleNode("NOTES").setText(tricky);
    doc.nodeFromID("W1").selectSingleNode("NAME").setText(QString());
    ASSERT_TRUE(doc.save(m_path).ok);

    XmlDocument again = reload();
    EXPECT_EQ(again.nodeFromID("W1").selectSingleNode("NOTES").text(), tricky);
    EXPECT_EQ(again.nodeFromID("W1").selectSingleNode("NAME").text(), "") << "an empty element reads as empty";
}

// A pasted control character used to be written as a reference no parser
// accepts, so the library could not be opened again.
TEST_F(LibraryDocumentTest, charactersXmlCannotHoldAreDroppedSoTheFileStillOpens)
{
    XmlDocument doc = open(LibraryText::folder(1, "A"));
    const QString withControls = QStringLiteral("bell\x07 null") + QChar(0) + QStringLiteral(" esc\x1b lone") +
                                 QChar(0xD800) + QStringLiteral(" end") + QChar(0xFFFF);
    doc.nodeFromID("T1").selectSingleNode("NAME").setText(withControls);
    ASSERT_TRUE(doc.save(m_path).ok);
    EXPECT_EQ(reload().nodeFromID("T1").selectSingleNode("NAME").text(), "bell null esc lone end");
}

TEST_F(LibraryDocumentTest, nullAndEmptyDocumentsAreHarmless)
{
    XmlDocument none;
    EXPECT_TRUE(none.isNull());
    EXPECT_FALSE(none.documentElement());
    EXPECT_FALSE(none.nodeFromID("T1"));
    XmlDocument empty = XmlDocument::create();
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_FALSE(empty.save(m_dir.filePath("x.xml")).ok) << "nothing to save is not reported as success";
    EXPECT_FALSE(QFile::exists(m_dir.filePath("x.xml")));
}

// The program refuses deeper folders and longer fields than these, so a
// library at the limits must still open after a save.
TEST_F(LibraryDocumentTest, libraryAtTheLimitsOpensAgainAfterASave)
{
    XmlDocument doc = open(LibraryText::nestedFolders(LibraryLimits::kMaxFolderDepth, LibraryText::sitePin(1, "deep")));
    ASSERT_TRUE(doc.nodeFromID("W1"));
    const QString longest(LibraryLimits::kMaxFieldLength, QChar(0x65E5)); // three bytes each in UTF-8
    doc.nodeFromID("W1").selectSingleNode("NOTES").setText(longest);
    ASSERT_TRUE(doc.save(m_path).ok);
    XmlDocument again = reload();
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
    m_path = m_dir.filePath("SitePins.xml");
    ASSERT_TRUE(LibraryText::writeFile(m_path, QString::fromUtf8("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" +
                                                                 declaration + "\n<FOLDERS>" +
                                                                 LibraryText::folder(1, "A").toUtf8() + "</FOLDERS>")));
    XmlDocument doc = reload();
    doc.nodeFromID("T1").selectSingleNode("NAME").setText("B");
    ASSERT_TRUE(doc.save(m_path).ok);
    const QByteArray saved = LibraryText::readFile(m_path);
    EXPECT_TRUE(saved.contains(declaration)) << saved.toStdString();
    EXPECT_EQ(reload().nodeFromID("T1").selectSingleNode("NAME").text(), "B");
}

// A handle outlives its element's removal, however the element went.
TEST_F(LibraryDocumentTest, elementsReplacedByTextLeaveTheDocumentButStayReadable)
{
    XmlDocument doc = open(LibraryText::folder(1, "A", LibraryText::sitePin(1, "a1")));
    const XmlNode pin = doc.nodeFromID("W1");
    doc.nodeFromID("T1").selectSingleNode("SITEPINS").setText("none");
    EXPECT_EQ(doc.nodeFromID("T1").selectSingleNode("SITEPINS").text(), "none");
    EXPECT_TRUE(doc.nodeFromID("W1").isNull());
    EXPECT_FALSE(pin.isInDocument());
    EXPECT_EQ(pin.selectSingleNode("NAME").text(), "a1");
}

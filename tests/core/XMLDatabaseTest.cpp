#include "store/XMLDatabase.h"
#include "LibraryText.h"
#include "TestFiles.h"
#include "store/CreationDate.h"

#include <QDir>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using L = LibraryText;

class XMLDatabaseTest : public ::testing::Test
{
protected:
    QString write(const QString &name, const QString &text)
    {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(L::writeFile(path, text));
        return path;
    }
    QString writeLibrary(const QString &body, bool declareIds = true)
    {
        return write(QStringLiteral("SitePins.xml"), L::document(body, declareIds));
    }

    QTemporaryDir m_dir;
    XMLDatabase m_db;
};

} // namespace

// The first candidate is always the count plus one; freed numbers below it
// are never reused, and probing climbs past numbers in use. SitePins are
// counted apart from folders.
TEST_F(XMLDatabaseTest, newIdentifierStartsAtCountPlusOneAndProbesUpward)
{
    const std::pair<std::vector<int>, const char *> cases[] = {
        {{}, "T1"}, {{1, 3, 4, 5}, "T6"}, {{1, 3, 4}, "T5"}, {{2}, "T3"}};
    for (const auto &[tids, expected] : cases) {
        QString body;
        for (int tid : tids)
            body += L::folder(tid, QStringLiteral("F"));
        ASSERT_TRUE(m_db.openDBValidate(writeLibrary(body)));
        EXPECT_EQ(m_db.getNewTID(), QString::fromLatin1(expected));
        EXPECT_EQ(m_db.getNewWID(), "W1");
        EXPECT_EQ(m_db.getNewWID(), "W1") << "asking twice without creating must give the same identifier";
    }
    XmlNode pin = m_db.getTheDOM().createElement("SITEPIN");
    pin.setAttribute("WID", m_db.getNewWID());
    m_db.getTheDOM().nodeFromID("T2").selectSingleNode("SITEPINS").appendChild(pin);
    EXPECT_EQ(m_db.getNewWID(), "W2") << "an element created since loading is counted and found";
}

TEST_F(XMLDatabaseTest, identifiersNeverGoAbove32767)
{
    // The SitePins numbered from `first` to 32767, and the identifier wanted next.
    for (const auto &[first, last, expected] : {std::tuple{1, 32766, "W32767"}, {1, 32767, ""}, {2, 32767, ""}}) {
        QString pins;
        for (int wid = first; wid <= last; ++wid)
            pins += QStringLiteral("<SITEPIN WID=\"W%1\"/>").arg(wid);
        ASSERT_TRUE(m_db.openDBValidate(writeLibrary(L::folder(1, QStringLiteral("All"), pins))));
        EXPECT_EQ(m_db.getNewWID(), QString::fromLatin1(expected)) << first << ".." << last;
    }
}

TEST_F(XMLDatabaseTest, identifiersSurviveAMoveASaveAndAReloadButNeedTheirDeclaration)
{
    const QString path =
        writeLibrary(L::folder(1, "Source", L::sitePin(7, "Moved")) + L::folder(2, "Target", L::sitePin(3, "Stays")));
    ASSERT_TRUE(m_db.openDBValidate(path));
    XmlDocument dom = m_db.getTheDOM();
    ASSERT_TRUE(dom.nodeFromID("T2").selectSingleNode("SITEPINS").appendChild(dom.nodeFromID("W7")));
    ASSERT_TRUE(dom.save(path).ok);

    XMLDatabase reopened;
    ASSERT_TRUE(reopened.openDBValidate(path));
    EXPECT_EQ(parentOf(reopened.getTheDOM(), "W7"), "T2");
    EXPECT_EQ(reopened.getSPName("W7"), "Moved");
    EXPECT_EQ(reopened.getSPName("W3"), "Stays");

    ASSERT_TRUE(m_db.openDBValidate(writeLibrary(L::folder(1, "A", L::sitePin(1, "x")), false)));
    EXPECT_FALSE(m_db.getTheDOM().nodeFromID("T1")) << "a library without ID declarations";
    EXPECT_EQ(m_db.getSPName("W1"), "");
}

TEST_F(XMLDatabaseTest, externalDefinitionFileIsReadFromBesideTheLibrary)
{
    write("library.dtd", "<!ATTLIST FOLDER TID ID #REQUIRED>\n<!ATTLIST SITEPIN WID ID #REQUIRED>\n");
    const QString path = write("External.xml", "<?xml version=\"1.0\"?>\n<!DOCTYPE FOLDERS SYSTEM \"library.dtd\">\n"
                                               "<FOLDERS>" +
                                                   L::folder(4, "A") + "</FOLDERS>");
    ASSERT_TRUE(m_db.openDBValidate(path));
    EXPECT_TRUE(m_db.getTheDOM().nodeFromID("T4"));
    ASSERT_TRUE(m_db.getTheDOM().save(path).ok);
    EXPECT_TRUE(L::readFile(path).contains("<!DOCTYPE FOLDERS SYSTEM \"library.dtd\">"));
}

// A failed open leaves an empty document, never the one opened before.
TEST_F(XMLDatabaseTest, openingABrokenFileFailsAndLeavesAnEmptyDocument)
{
    QDir().mkpath(m_dir.filePath("Folder.xml")); // root reads any file, but no one parses a folder
    const std::pair<const char *, const char *> files[] = {
        {"Missing.xml", nullptr},
        {"Folder.xml", nullptr},
        {"Empty.xml", ""},
        {"NotWellFormed.xml", "<FOLDERS><FOLDER TID=\"T1\"></FOLDERS>"},
        {"Truncated.xml", "<?xml version=\"1.0\"?>\n<FOLDERS><FOLDER TID=\"T1\"><NAME>Half"},
        {"External.xml", "<?xml version=\"1.0\"?>\n<!DOCTYPE FOLDERS SYSTEM \"gone.dtd\">\n<FOLDERS/>"},
        {"Utf8.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><FOLDERS>\xff\xfe</FOLDERS>"}};
    for (const auto &[name, text] : files) {
        ASSERT_TRUE(m_db.openDBValidate(writeLibrary(L::folder(1, "Old"))));
        const XmlDocument previous = m_db.getTheDOM();
        if (text) { // raw bytes: a broken encoding must reach the disk as it is
            ASSERT_TRUE(TestFiles::write(m_dir.filePath(name), text));
        }
        EXPECT_FALSE(m_db.openDBValidate(m_dir.filePath(name))) << name;
        EXPECT_TRUE(m_db.getTheDOM().isEmpty()) << name;
        EXPECT_FALSE(m_db.getTheDOM() == previous) << name;
        EXPECT_FALSE(m_db.lastOpenError().isEmpty()) << name;
    }
}

TEST_F(XMLDatabaseTest, secondDocumentIsReplacedOnlyBySuccess)
{
    ASSERT_TRUE(m_db.openDBValidate(writeLibrary(L::folder(1, "Main"))));
    EXPECT_TRUE(m_db.getTheTempDOM().isNull());
    ASSERT_TRUE(m_db.openTempDBValidate(write("Other.xml", L::document(L::folder(9, "Other")))));
    const XmlDocument temp = m_db.getTheTempDOM();
    EXPECT_TRUE(temp.nodeFromID("T9"));

    EXPECT_FALSE(m_db.openTempDBValidate(write("Bad.xml", "<FOLDERS>")));
    EXPECT_TRUE(m_db.getTheTempDOM() == temp);
    EXPECT_TRUE(m_db.getTheDOM().nodeFromID("T1")) << "the main document is not touched";
}

TEST_F(XMLDatabaseTest, formattedStringKeepsNotesLineEndsAndEndsWithABlankLine)
{
    ASSERT_TRUE(m_db.openDBValidate(writeLibrary(
        L::folder(1, "F", L::sitePin(5, "Home", "A", "first line\nsecond & last") + L::sitePin(6, "Bare", "B")))));
    EXPECT_EQ(m_db.getSPAsFormattedString("W5"), "Name: Home\r\n\r\nAddress: A\r\n\r\nDescription: \r\n\r\n"
                                                 "Notes: first line\nsecond & last\r\n\r\n");
    EXPECT_EQ(m_db.getSPAsFormattedString("W6"),
              "Name: Bare\r\n\r\nAddress: B\r\n\r\nDescription: \r\n\r\nNotes: \r\n\r\n");
    EXPECT_EQ(m_db.getSPNotes("W404"), "") << "an unknown identifier reads as empty";
    EXPECT_EQ(m_db.getSPName("T1"), "") << "a folder is not a SitePin";
}

// The stored format must not follow the desktop's language.
TEST(CreationDate, isTwoDigitDayEnglishMonthAndFourDigitYear)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(CreationDate::text(QDate(2026, 3, 9)), "09 Mar 2026");
    EXPECT_EQ(CreationDate::text(QDate(2099, 10, 31)), "31 Oct 2099");
    EXPECT_EQ(CreationDate::text(QDate(2031, 5, 17)), "17 May 2031");
    // Regression: an imported bookmark from 1998 was dated 2098.
    EXPECT_EQ(CreationDate::text(QDate(1998, 3, 12)), "12 Mar 1998");
    EXPECT_EQ(CreationDate::text(QDate(2100, 1, 1)), "01 Jan 2100");
    QLocale::setDefault(previous);
}

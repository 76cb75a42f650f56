#include "store/XMLDatabase.h"
#include "LibraryText.h"
#include "store/CreationDate.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class XMLDatabaseTest : public ::testing::Test
{
protected:
    QString write(const QString &name, const QString &text)
    {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(LibraryText::writeFile(path, text));
        return path;
    }
    QString writeLibrary(const QString &body, bool declareIds = true)
    {
        return write(QStringLiteral("SitePins.xml"), LibraryText::document(body, declareIds));
    }

    QTemporaryDir m_dir;
    XMLDatabase m_db;
};

QString folders(std::initializer_list<int> tids)
{
    QString body;
    for (int tid : tids)
        body += LibraryText::folder(tid, QStringLiteral("Folder %1").arg(tid));
    return body;
}

QString sitePinsInOneFolder(int first, int last)
{
    QString pins;
    for (int wid = first; wid <= last; ++wid)
        pins += QStringLiteral("<SITEPIN WID=\"W%1\"/>").arg(wid);
    return LibraryText::folder(1, QStringLiteral("All"), pins);
}

} // namespace

struct IdentifierCase
{
    const char *label;
    std::vector<int> tids;
    const char *expected;
};

class NewFolderIdentifier : public XMLDatabaseTest, public ::testing::WithParamInterface<IdentifierCase>
{
};

// The first candidate is always the count plus one; freed numbers below it
// are never reused, and probing climbs past numbers in use.
TEST_P(NewFolderIdentifier, startsAtCountPlusOneAndProbesUpward)
{
    QString body;
    for (int tid : GetParam().tids)
        body += LibraryText::folder(tid, QStringLiteral("F"));
    ASSERT_TRUE(m_db.openDBValidate(writeLibrary(body)));
    EXPECT_EQ(m_db.getNewTID(), QString::fromLatin1(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, NewFolderIdentifier,
                         ::testing::Values(IdentifierCase{"empty", {}, "T1"}, IdentifierCase{"dense", {1, 2, 3}, "T4"},
                                           IdentifierCase{"T2 deleted of five", {1, 3, 4, 5}, "T6"},
                                           IdentifierCase{"gap below count", {1, 3, 4}, "T5"},
                                           IdentifierCase{"only T2", {2}, "T3"}),
                         [](const auto &info) {
                             std::string name = info.param.label;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

TEST_F(XMLDatabaseTest, newSitePinIdentifierIgnoresFolderNumbersAndRepeatsUntilUsed)
{
    ASSERT_TRUE(m_db.openDBValidate(writeLibrary(folders({1, 2}))));
    EXPECT_EQ(m_db.getNewWID(), "W1");
    EXPECT_EQ(m_db.getNewWID(), "W1") << "asking twice without creating must give the same identifier";

    XmlDocument dom = m_db.getTheDOM();
    XmlNode pin = dom.createElement("SITEPIN");
    pin.setAttribute("WID", m_db.getNewWID());
    dom.nodeFromID("T1").selectSingleNode("SITEPINS").appendChild(pin);
    EXPECT_EQ(m_db.getNewWID(), "W2") << "an element created since loading is counted and found";
}

struct LimitCase
{
    const char *label;
    int firstWid;
    int lastWid;
    const char *expected;
};

class IdentifierLimit : public XMLDatabaseTest, public ::testing::WithParamInterface<LimitCase>
{
};

TEST_P(IdentifierLimit, neverHandsOutANumberAbove32767)
{
    ASSERT_TRUE(m_db.openDBValidate(writeLibrary(sitePinsInOneFolder(GetParam().firstWid, GetParam().lastWid))));
    EXPECT_EQ(m_db.getNewWID(), QString::fromLatin1(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, IdentifierLimit,
                         ::testing::Values(LimitCase{"one_below_the_limit", 1, 32766, "W32767"},
                                           LimitCase{"full", 1, 32767, ""},
                                           LimitCase{"probing_would_pass_the_limit", 2, 32767, ""}),
                         [](const auto &info) { return std::string(info.param.label); });

TEST_F(XMLDatabaseTest, identifiersSurviveAMoveASaveAndAReload)
{
    const QString body = LibraryText::folder(1, "Source", LibraryText::sitePin(7, "Moved")) +
                         LibraryText::folder(2, "Target", LibraryText::sitePin(3, "Stays"));
    const QString path = writeLibrary(body);
    ASSERT_TRUE(m_db.openDBValidate(path));
    XmlDocument dom = m_db.getTheDOM();
    XmlNode moved = dom.nodeFromID("W7");
    ASSERT_TRUE(dom.nodeFromID("T2").selectSingleNode("SITEPINS").appendChild(moved));
    ASSERT_TRUE(dom.save(path).ok);

    XMLDatabase reopened;
    ASSERT_TRUE(reopened.openDBValidate(path));
    const XmlNode pin = reopened.getTheDOM().nodeFromID("W7");
    ASSERT_TRUE(pin);
    EXPECT_EQ(pin.parentNode().parentNode().getAttribute("TID"), "T2");
    EXPECT_EQ(reopened.getSPName("W3"), "Stays");
    EXPECT_TRUE(reopened.getTheDOM().nodeFromID("T1").selectSingleNode("SITEPINS").childElements().empty());
}

TEST_F(XMLDatabaseTest, libraryWithoutIdDeclarationsOpensButFindsNothingById)
{
    ASSERT_TRUE(m_db.openDBValidate(writeLibrary(LibraryText::folder(1, "A", LibraryText::sitePin(1, "x")), false)));
    EXPECT_FALSE(m_db.getTheDOM().nodeFromID("T1"));
    EXPECT_FALSE(m_db.getTheDOM().nodeFromID("W1"));
    EXPECT_EQ(m_db.getSPName("W1"), "");
}

TEST_F(XMLDatabaseTest, externalDefinitionFileIsReadFromBesideTheLibrary)
{
    write("library.dtd", "<!ATTLIST FOLDER TID ID #REQUIRED>\n<!ATTLIST SITEPIN WID ID #REQUIRED>\n");
    const QString path = write("External.xml", "<?xml version=\"1.0\"?>\n<!DOCTYPE FOLDERS SYSTEM \"library.dtd\">\n"
                                               "<FOLDERS>" +
                                                   LibraryText::folder(4, "A") + "</FOLDERS>");
    ASSERT_TRUE(m_db.openDBValidate(path));
    EXPECT_TRUE(m_db.getTheDOM().nodeFromID("T4"));
    ASSERT_TRUE(m_db.getTheDOM().save(path).ok);
    EXPECT_TRUE(LibraryText::readFile(path).contains("<!DOCTYPE FOLDERS SYSTEM \"library.dtd\">"));
}

struct BrokenFile
{
    const char *label;
    const char *text; // nullptr: the file does not exist
};

class OpeningFails : public XMLDatabaseTest, public ::testing::WithParamInterface<BrokenFile>
{
};

// A failed open leaves an empty document, never the one opened before.
TEST_P(OpeningFails, andLeavesAnEmptyDocument)
{
    ASSERT_TRUE(m_db.openDBValidate(writeLibrary(LibraryText::folder(1, "Old"))));
    const XmlDocument previous = m_db.getTheDOM();
    const QString path = m_dir.filePath("Broken.xml");
    if (GetParam().text) {
        QFile file(path); // raw bytes: the broken encoding must reach the disk as it is
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(GetParam().text);
    }

    EXPECT_FALSE(m_db.openDBValidate(path));
    EXPECT_TRUE(m_db.getTheDOM().isEmpty());
    EXPECT_FALSE(m_db.getTheDOM() == previous);
    EXPECT_FALSE(m_db.lastOpenError().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OpeningFails,
    ::testing::Values(BrokenFile{"missing", nullptr}, BrokenFile{"empty", ""},
                      BrokenFile{"not_well_formed", "<FOLDERS><FOLDER TID=\"T1\"></FOLDERS>"},
                      BrokenFile{"truncated", "<?xml version=\"1.0\"?>\n<FOLDERS><FOLDER TID=\"T1\"><NAME>Half"},
                      BrokenFile{"missing_external_definition",
                                 "<?xml version=\"1.0\"?>\n<!DOCTYPE FOLDERS SYSTEM \"gone.dtd\">\n<FOLDERS/>"},
                      BrokenFile{"invalid_utf8",
                                 "<?xml version=\"1.0\" encoding=\"UTF-8\"?><FOLDERS>\xff\xfe</FOLDERS>"}),
    [](const auto &info) { return std::string(info.param.label); });

TEST_F(XMLDatabaseTest, unreadableFileFailsToOpen)
{
    const QString path = writeLibrary(LibraryText::folder(1, "A"));
    // Root reads any file, so make the path something no one can parse as a file.
    const QString folderPath = m_dir.filePath("folder.xml");
    QDir().mkpath(folderPath);
    EXPECT_FALSE(m_db.openDBValidate(folderPath));
    EXPECT_TRUE(m_db.openDBValidate(path));
}

TEST_F(XMLDatabaseTest, secondDocumentIsReplacedOnlyBySuccess)
{
    ASSERT_TRUE(m_db.openDBValidate(writeLibrary(LibraryText::folder(1, "Main"))));
    EXPECT_TRUE(m_db.getTheTempDOM().isNull());
    const QString good = write("Other.xml", LibraryText::document(LibraryText::folder(9, "Other")));
    ASSERT_TRUE(m_db.openTempDBValidate(good));
    const XmlDocument temp = m_db.getTheTempDOM();
    EXPECT_TRUE(temp.nodeFromID("T9"));

    EXPECT_FALSE(m_db.openTempDBValidate(write("Bad.xml", "<FOLDERS>")));
    EXPECT_TRUE(m_db.getTheTempDOM() == temp);
    EXPECT_TRUE(m_db.getTheDOM().nodeFromID("T1")) << "the main document is not touched";
}

TEST_F(XMLDatabaseTest, formattedStringKeepsNotesLineEndsAndEndsWithABlankLine)
{
    const QString body =
        LibraryText::folder(1, "F",
                            LibraryText::sitePin(5, "Home", "A", "first line\nsecond & last", "FALSE", "") +
                                LibraryText::sitePin(6, "Bare", "B"));
    ASSERT_TRUE(m_db.openDBValidate(writeLibrary(body)));
    EXPECT_EQ(m_db.getSPAsFormattedString("W5"), "Name: Home\r\n\r\nAddress: A\r\n\r\nDescription: \r\n\r\n"
                                                 "Notes: first line\nsecond & last\r\n\r\n");
    EXPECT_EQ(m_db.getSPAsFormattedString("W6"),
              "Name: Bare\r\n\r\nAddress: B\r\n\r\nDescription: \r\n\r\nNotes: \r\n\r\n");
    EXPECT_EQ(m_db.getSPNotes("W404"), "") << "an unknown identifier reads as empty";
    EXPECT_EQ(m_db.getSPName("T1"), "") << "a folder is not a SitePin";
}

TEST_F(XMLDatabaseTest, pathsAreKeptApart)
{
    m_db.setPath("/somewhere/else.xml");
    ASSERT_TRUE(m_db.openDBValidate(writeLibrary({})));
    EXPECT_EQ(m_db.getPath(), "/somewhere/else.xml");
}

struct DateCase
{
    int year, month, day;
    const char *expected;
};

class CreationDateText : public ::testing::TestWithParam<DateCase>
{
};

TEST_P(CreationDateText, isTwoDigitDayEnglishMonthAndFourDigitYear)
{
    // The stored format must not follow the desktop's language.
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const DateCase c = GetParam();
    EXPECT_EQ(CreationDate::text(QDate(c.year, c.month, c.day)), QString::fromLatin1(c.expected));
    QLocale::setDefault(previous);
}

INSTANTIATE_TEST_SUITE_P(Cases, CreationDateText,
                         ::testing::Values(DateCase{2026, 3, 9, "09 Mar 2026"}, DateCase{2026, 12, 4, "04 Dec 2026"},
                                           DateCase{2000, 1, 1, "01 Jan 2000"}, DateCase{2099, 10, 31, "31 Oct 2099"},
                                           DateCase{2031, 5, 17, "17 May 2031"}));

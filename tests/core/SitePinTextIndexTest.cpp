#include "store/SitePinTextIndex.h"
#include "LibraryText.h"
#include "store/LibraryElements.h"
#include "store/XmlDocument.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

using Field = SitePinTextIndex::Field;
using L = LibraryText;

class SitePinTextIndexTest : public ::testing::Test
{
protected:
    XmlDocument open(const QString &body, XmlDocument doc = XmlDocument::create())
    {
        const QString path = m_dir.filePath(QStringLiteral("SitePins%1.xml").arg(++m_files));
        EXPECT_TRUE(L::writeFile(path, L::document(body)));
        EXPECT_TRUE(doc.load(path)) << doc.parseErrorReason().toStdString();
        return doc;
    }
    QStringList find(const XmlDocument &doc, const char *term, Field field = Field::Any)
    {
        return names(m_index.find(doc, term, field, [this](const XmlNode &sitePin) {
            m_decided << sitePin.getAttribute("WID");
            return sitePin.getAttribute("WID") == m_decideYesFor;
        }));
    }
    static QStringList names(const std::vector<SitePinRow> &sitePins)
    {
        QStringList result;
        for (const SitePinRow &sitePin : sitePins)
            result << sitePin.name;
        return result;
    }

    QTemporaryDir m_dir;
    int m_files = 0;
    SitePinTextIndex m_index;
    QStringList m_decided;
    QString m_decideYesFor;
};

} // namespace

// The hand-written SitePin has a second NAME and text split by a comment and
// a CDATA section, as an edited file may have them. The characters on either
// side of the capitals keep their case.
TEST_F(SitePinTextIndexTest, findsTheTermWithinOneFieldInDocumentOrder)
{
    const XmlDocument doc = open(
        L::folder(1, "Food",
                  L::sitePin(1, "Apple PIE", "http://bakery.example", "recipe") +
                      L::sitePin(2, "Charts", "http://pie.example", "", "FALSE", "pie charts explained"),
                  L::folder(2, "Deep", L::sitePin(3, "Pie in the sky", "http://sky.example", "see pIe"))) +
        L::folder(3, "Ends", L::sitePin(4, "Cherry", "http://ab.example", "xyz") + L::sitePin(5, "@[AZ]^_@[AZ]^_!")) +
        "<FOLDER TID=\"T9\"><NAME>Odd</NAME><SITEPINS><SITEPIN WID=\"W9\"><NAME>First name</NAME>"
        "<NAME>Second pie</NAME><ADDRESS>http://odd.example</ADDRESS>"
        "<NOTES>ta<!-- x -->rt<![CDATA[ & ]]>crumble</NOTES></SITEPIN></SITEPINS><SUBFOLDERS/></FOLDER>");

    EXPECT_EQ(find(doc, "pie"), QStringList({"Apple PIE", "Charts", "Pie in the sky", "First name"}));
    EXPECT_EQ(find(doc, "pie", Field::Name), QStringList({"Apple PIE", "Pie in the sky"})) << "the first NAME only";
    EXPECT_EQ(find(doc, "pie", Field::Address), QStringList({"Charts"}));
    EXPECT_EQ(find(doc, "pie", Field::Notes), QStringList({"Pie in the sky"}));
    EXPECT_EQ(find(doc, "tart & crumble", Field::Notes), QStringList({"First name"})) << "text split up in the file";
    EXPECT_EQ(find(doc, "http://bakery.example"), QStringList({"Apple PIE"}));
    for (const char *across : {"cherryhttp", "falsecharts", "falsefirst", "namesecond"})
        EXPECT_TRUE(find(doc, across).isEmpty()) << "no match runs from one text into the next: " << across;
    EXPECT_EQ(find(doc, "@[az]^_@[az]^_!"), QStringList({"@[AZ]^_@[AZ]^_!"}));
    for (const char *shifted : {"`", "{", "~", "\x7f"})
        EXPECT_TRUE(find(doc, shifted).isEmpty()) << shifted;
    EXPECT_TRUE(m_decided.isEmpty());
}

// Edits are covered by the comparison with a fresh copy below; this is about
// which document the copy belongs to.
TEST_F(SitePinTextIndexTest, followsTheDocumentItIsAskedAbout)
{
    XmlDocument doc = open(L::folder(1, "Garden", L::sitePin(1, "Roses")));
    doc.nodeFromID("W1").selectSingleNode("NAME").setText("Tulips");
    EXPECT_EQ(find(doc, "tulip"), QStringList({"Tulips"}));

    const XmlDocument other = open(L::folder(1, "Other", L::sitePin(1, "Tulip fields")));
    EXPECT_EQ(find(other, "tulip"), QStringList({"Tulip fields"})) << "another document";
    EXPECT_EQ(find(doc, "tulip"), QStringList({"Tulips"})) << "and back";

    open(L::folder(1, "New", L::sitePin(7, "Tulip mania")), doc); // the same object loads another file
    EXPECT_EQ(find(doc, "tulip"), QStringList({"Tulip mania"}));
    m_index.clear();
    EXPECT_EQ(find(doc, "mania"), QStringList({"Tulip mania"}));
}

// Case folding maps the long s onto "s" and the Kelvin sign onto "k"; other
// characters outside ASCII never equal an ASCII letter.
TEST_F(SitePinTextIndexTest, sitePinsWhoseTextCaseFoldsOntoAsciiAreLeftToTheCaller)
{
    const QStringList odd =
        QString::fromUtf8("Ma\u017Fs transit|Z\u00FCrich mass|20 \u212A|Cr\u00E8me MASS").split('|');
    const XmlDocument doc = open(L::folder(1, "Odd letters",
                                           L::sitePin(1, odd[0]) + L::sitePin(2, odd[1]) +
                                               L::sitePin(3, "Heater", "", odd[2]) + L::sitePin(4, odd[3])));
    m_decideYesFor = "W1";
    EXPECT_EQ(find(doc, "mass"), QStringList({odd[0], odd[1], odd[3]}));
    EXPECT_EQ(m_decided, QStringList({"W1", "W3"}));
    m_decided.clear();
    m_decideYesFor.clear();
    EXPECT_TRUE(find(doc, "zurich").isEmpty());
    EXPECT_EQ(m_decided, QStringList({"W1", "W3"})) << "whatever the term";
}

// The flag as the first FAV element holds it, compared without regard to case.
TEST_F(SitePinTextIndexTest, favouritesAreTheSitePinsFlaggedTrueInAnyCase)
{
    const XmlDocument doc =
        open(L::folder(1, "Flags",
                       L::sitePin(1, "Upper", "", "", "TRUE") + L::sitePin(2, "Lower", "", "", "true") +
                           L::sitePin(3, "Spaced", "", "", " TRUE") + L::sitePin(4, "Off", "", "", "FALSE") +
                           L::sitePin(5, "Empty", "", "", "") +
                           "<SITEPIN WID=\"W7\"><NAME>Split</NAME><FAV>Tr<!-- x -->ue</FAV></SITEPIN>"
                           "<SITEPIN WID=\"W8\"><NAME>Twice</NAME><FAV>FALSE</FAV><FAV>TRUE</FAV></SITEPIN>"
                           "<SITEPIN WID=\"W9\"><NAME>Unflagged</NAME></SITEPIN>"));
    EXPECT_EQ(names(m_index.favourites(doc)), QStringList({"Upper", "Lower", "Split"}));
}

// What an empty term finds: text in the field, however it is written.
TEST_F(SitePinTextIndexTest, findsTheSitePinsWithAnyTextInTheField)
{
    const XmlDocument doc =
        open(L::folder(1, "Texts",
                       L::sitePin(1, "Noted", "http://a.example", "a note") + L::sitePin(2, "Bare") +
                           "<SITEPIN WID=\"W7\"><NAME/><NOTES><!-- only a comment --></NOTES>"
                           "</SITEPIN><SITEPIN WID=\"W8\"><NAME>Split</NAME><NOTES><!-- a -->b"
                           "</NOTES></SITEPIN><SITEPIN WID=\"W9\"/>"));
    EXPECT_EQ(names(m_index.findWithText(doc, Field::Notes)), QStringList({"Noted", "Split"}));
    EXPECT_EQ(names(m_index.findWithText(doc, Field::Address)), QStringList({"Noted"}));
    EXPECT_EQ(names(m_index.findWithText(doc, Field::Name)), QStringList({"Noted", "Bare", "Split"}));
    EXPECT_EQ(names(m_index.findWithText(doc, Field::Any)), QStringList({"Noted", "Bare", "Split"}));
}

// Edits of every kind, alone and in runs, some of them between two searches:
// the copy brought up to date always answers as a copy taken afresh does.
TEST_F(SitePinTextIndexTest, aCopyBroughtUpToDateAnswersAsAFreshCopyDoes)
{
    QString pins[3];
    QStringList wids;
    for (int wid = 1; wid <= 12; ++wid) {
        const bool flagged = (wid - 1) / 4 == 1;
        pins[(wid - 1) / 4] += L::sitePin(wid, QString("Pin %1").arg(wid), flagged ? "http://x.example" : "",
                                          flagged ? "notes" : "", flagged ? "TRUE" : "FALSE");
        wids << QString("W%1").arg(wid);
    }
    XmlDocument doc = open(L::folder(1, "A", pins[0], L::folder(2, "B", pins[1])) + L::folder(3, "C", pins[2]));

    QRandomGenerator random(20261206);
    const QStringList texts =
        QString::fromUtf8("|Tulip|TULIP bulbs|Ma\u017Fs|20 \u212A|true|TRUE|False|caf\u00E9 tulip|"
                          "a much longer text about tulips and roses in the spring")
            .split('|');
    const char *const fields[] = {"NAME", "ADDRESS", "NOTES", "FAV", "DESCRIPTION", "KEYWORD1"};
    const auto pick = [&random](const auto &list) {
        return list[random.bounded(int(std::size(list)))];
    };
    QStringList tids{"T1", "T2", "T3"};
    const auto folder = [&] {
        return doc.nodeFromID(pick(tids));
    };
    const auto editText = [&] {
        doc.nodeFromID(pick(wids)).selectSingleNode(pick(fields)).setText(pick(texts));
    };
    int nextWid = 100;
    int nextTid = 10;
    const auto import = [&] {
        XmlNode root = doc.documentElement();
        const QString tid = QString("T%1").arg(nextTid++);
        XmlNode pins = LibraryElements::appendFolder(doc, root, tid, "Imported").selectSingleNode("SITEPINS");
        tids << tid;
        for (int count = random.bounded(4); count > 0; --count) {
            const QString wid = QString("W%1").arg(nextWid++);
            LibraryElements::appendSitePin(doc, pins, wid, {pick(texts), pick(texts), "", "", pick(texts), true});
            wids << wid;
        }
    };
    for (int step = 0; step < 600; ++step) {
        switch (random.bounded(30)) {
        case 24:
            if (XmlNode sitePin = doc.nodeFromID(pick(wids))) {
                ASSERT_TRUE(folder().selectSingleNode("SITEPINS").appendChild(sitePin));
            }
            break;
        case 25: // an imported folder; refused when it would go below itself
            if (tids.size() > 3)
                folder()
                    .selectSingleNode("SUBFOLDERS")
                    .appendChild(doc.nodeFromID(tids.at(random.bounded(3, int(tids.size())))));
            break;
        case 26:
            if (tids.size() > 3) {
                XmlNode gone = doc.nodeFromID(tids.takeAt(random.bounded(3, int(tids.size()))));
                if (gone)
                    gone.parentNode().removeChild(gone);
                tids.removeIf([&doc](const QString &tid) { return !doc.nodeFromID(tid); });
            }
            break;
        case 27:
            import();
            break;
        case 0:
            folder().selectSingleNode("NAME").setText(pick(texts));
            break;
        case 1:
            if (wids.size() > 1) {
                XmlNode sitePin = doc.nodeFromID(wids.takeAt(random.bounded(int(wids.size()))));
                if (sitePin) { // not replaced by text with its folder's SitePins
                    ASSERT_TRUE(sitePin.parentNode().removeChild(sitePin));
                }
            }
            break;
        case 2: {
            XmlNode sitePin = doc.createElement("SITEPIN");
            for (const char *field : fields) {
                XmlNode element = doc.createElement(field);
                element.setText(pick(texts));
                sitePin.appendChild(element);
            }
            sitePin.setAttribute("WID", QString("W%1").arg(nextWid));
            wids << QString("W%1").arg(nextWid++);
            ASSERT_TRUE(folder().selectSingleNode("SITEPINS").appendChild(sitePin));
            break;
        }
        case 3: // a folder's SitePins replaced by text
            folder().selectSingleNode("SITEPINS").setText("gone");
            break;
        case 4: // more edits than the document keeps count of
            for (int edit = 0; edit < 4200; ++edit)
                editText();
            break;
        case 5: // a new identifier, which the lists show as tag
            if (XmlNode sitePin = doc.nodeFromID(wids.takeAt(random.bounded(int(wids.size()))))) {
                sitePin.setAttribute("WID", QString("W%1").arg(nextWid));
                wids << QString("W%1").arg(nextWid++);
            }
            break;
        default:
            editText();
        }
        if (random.bounded(3) == 0)
            continue;
        SitePinTextIndex fresh;
        const auto decide = [](const XmlNode &sitePin) {
            return sitePin.getAttribute("WID").endsWith('1');
        };
        for (const char *term : {"tulip", "mass", "true", "k", "roses", "a"}) {
            for (const Field field : {Field::Any, Field::Name, Field::Address, Field::Notes}) {
                const auto kept = m_index.find(doc, term, field, decide);
                EXPECT_TRUE(kept == fresh.find(doc, term, field, decide)) << "step " << step << " " << term;
            }
        }
        for (const Field field : {Field::Any, Field::Name, Field::Notes})
            EXPECT_TRUE(m_index.findWithText(doc, field) == fresh.findWithText(doc, field)) << "step " << step;
        EXPECT_TRUE(m_index.favourites(doc) == fresh.favourites(doc)) << "step " << step;
        for (const QString &tid : tids) {
            EXPECT_TRUE(m_index.rowsInFolder(doc, doc.nodeFromID(tid)) == fresh.rowsInFolder(doc, doc.nodeFromID(tid)))
                << "step " << step << " " << tid.toStdString();
        }
    }
}

// A move, a removal or an addition of a SitePin or a folder is followed
// within the copy.
TEST_F(SitePinTextIndexTest, singleChangesToTheTreeAreFollowedWithoutCopyingAgain)
{
    XmlDocument doc = open(L::folder(1, "A", L::sitePin(1, "Apple") + L::sitePin(2, "Banana"),
                                     L::folder(2, "B", L::sitePin(3, "Cherry"))) +
                           L::folder(3, "C", L::sitePin(4, "Date") + L::sitePin(5, "Elder", "", "", "TRUE")));
    const auto pins = [&doc](const char *tid) {
        return doc.nodeFromID(tid).selectSingleNode("SITEPINS");
    };
    const auto listed = [&] {
        return names(m_index.findWithText(doc, Field::Name));
    };
    ASSERT_EQ(listed(), QStringList({"Apple", "Banana", "Cherry", "Date", "Elder"}));
    const std::function<void()> changes[] = {
        [&] { pins("T3").appendChild(doc.nodeFromID("W1")); },
        [&] { pins("T2").appendChild(doc.nodeFromID("W5")); },
        [&] { doc.documentElement().appendChild(doc.nodeFromID("T1")); },
        [&] { pins("T2").removeChild(doc.nodeFromID("W3")); },
        [&] {
            XmlNode into = pins("T3");
            LibraryElements::appendSitePin(doc, into, "W6", {"Fig", "http://fig.example", "", "", "", true});
        },
        [&] {
            XmlNode root = doc.documentElement();
            XmlNode imported = LibraryElements::appendFolder(doc, root, "T4", "Imported").selectSingleNode("SITEPINS");
            LibraryElements::appendSitePin(doc, imported, "W7", {"Grape", "", "", "", "", false});
            LibraryElements::appendSitePin(doc, imported, "W8", {"Apricot", "", "", "", "", true});
        },
        [&] { doc.documentElement().removeChild(doc.nodeFromID("T3")); },
    };
    const QList<QStringList> expected = {
        {"Banana", "Cherry", "Date", "Elder", "Apple"}, {"Banana", "Cherry", "Elder", "Date", "Apple"},
        {"Date", "Apple", "Banana", "Cherry", "Elder"}, {"Date", "Apple", "Banana", "Elder"},
        {"Date", "Apple", "Fig", "Banana", "Elder"},    {"Date", "Apple", "Fig", "Banana", "Elder", "Grape", "Apricot"},
        {"Banana", "Elder", "Grape", "Apricot"},
    };
    for (size_t i = 0; i < std::size(changes); ++i) {
        changes[i]();
        EXPECT_EQ(listed(), expected[qsizetype(i)]) << i;
        // Only when most of the texts copied belong to removed SitePins is
        // the copy taken afresh.
        EXPECT_EQ(m_index.rebuilds(), i + 1 < std::size(changes) ? 1 : 2) << i;
    }
    EXPECT_EQ(names(m_index.favourites(doc)), QStringList({"Elder", "Apricot"}));
}

// Setting a SitePin element's own text twice left it without fields, and
// bringing the copy up to date handed memmem a null pointer (caught by UBSan).
TEST_F(SitePinTextIndexTest, SitePinsOwnTextSetTwiceIsCopiedWithoutNullScan)
{
    XmlDocument doc =
        open(L::folder(1, "A", L::sitePin(1, "Kept", "", "", "TRUE") + L::sitePin(2, "Bare", "", "", "TRUE")));
    EXPECT_EQ(names(m_index.favourites(doc)), QStringList({"Kept", "Bare"}));
    XmlNode bare = doc.nodeFromID("W2");
    bare.setText("first");
    EXPECT_EQ(names(m_index.favourites(doc)), QStringList({"Kept"}));
    bare.setText("second");
    EXPECT_EQ(names(m_index.favourites(doc)), QStringList({"Kept"}));
    EXPECT_EQ(names(m_index.findWithText(doc, Field::Any)), QStringList({"Kept"}));
    EXPECT_TRUE(find(doc, "second").isEmpty()) << "a SitePin's own text is in none of its fields";
}

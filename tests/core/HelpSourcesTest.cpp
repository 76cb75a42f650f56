#include "QtPrinters.h"
#include "help/logic/HelpSearchIndex.h"
#include "help/logic/HelpTarget.h"
#include "help/logic/PopupTextFile.h"
#include "help/logic/SitemapParser.h"

#include <gtest/gtest.h>

namespace {

QByteArray sitemapObject(const char *name, std::initializer_list<const char *> locals = {})
{
    QByteArray object = QByteArray("<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"") + name + "\">";
    for (const char *local : locals)
        object += QByteArray("<param name=\"Local\" value=\"") + local + "\">";
    return object + "</OBJECT>\n";
}

// "name(local,...)[children]" for a whole tree, so that a failure shows its shape.
QString shape(const QList<SitemapEntry> &entries)
{
    QStringList parts;
    for (const SitemapEntry &entry : entries) {
        QString part = entry.name + QLatin1Char('(') + entry.locals.join(QLatin1Char(',')) + QLatin1Char(')');
        if (!entry.children.isEmpty())
            part += QLatin1Char('[') + shape(entry.children) + QLatin1Char(']');
        parts << part;
    }
    return parts.join(QLatin1Char(' '));
}

QString pageWith(const char *title, const char *body)
{
    return QStringLiteral("<html><head><title>%1</title><style>p { color: red }</style></head><body>%2</body></html>")
        .arg(QString::fromUtf8(title), QString::fromUtf8(body));
}

} // namespace

TEST(SitemapParser, nestsEntriesByListsAndReadsEntitiesAndSeveralTopics)
{
    const QByteArray sitemap = "<HTML><BODY><OBJECT type=\"text/site properties\"><param name=\"Name\" value=\"skip\">"
                               "</OBJECT><UL>" +
                               sitemapObject("Intro", {"intro.htm"}) + "<UL>" +
                               sitemapObject("First &amp; second", {"a.htm#top"}) + "<ul>" +
                               sitemapObject("Deep", {"deep.htm"}) + "</ul>" + sitemapObject("Fav&#x27;s") + "</UL>" +
                               sitemapObject("Two topics", {"x.htm", "y.htm"}) + "</UL></BODY></HTML>";
    EXPECT_EQ(shape(SitemapParser::parse(sitemap)),
              "Intro(intro.htm)[First & second(a.htm#top)[Deep(deep.htm)] Fav's()] Two topics(x.htm,y.htm)");
}

TEST(SitemapParser, keepsWhatItReadOfADamagedFile)
{
    EXPECT_EQ(shape(SitemapParser::parse("<UL>" + sitemapObject("Kept", {"k.htm"}) + "<UL><LI><OBJECT type")),
              "Kept(k.htm)");
    EXPECT_EQ(shape(SitemapParser::parse("</UL></UL>" + sitemapObject("Loose", {"l.htm"}))), "Loose(l.htm)");
    EXPECT_TRUE(SitemapParser::parse(QByteArray()).isEmpty());
}

TEST(HelpTarget, splitsFileTopicAndWindow)
{
    struct Case
    {
        const char *text, *file, *topic, *window;
    };
    const Case cases[] = {
        {"/opt/Help.chm", "/opt/Help.chm", "", ""},
        {"/opt/Help.chm::/menu-file.htm", "/opt/Help.chm", "menu-file.htm", ""},
        {"/opt/Help.chm>main", "/opt/Help.chm", "", "main"},
        {"/opt/My Help.chm::/a/b.htm#part>  main ", "/opt/My Help.chm", "a/b.htm#part", "main"},
        {"Help.chm::popups.txt", "Help.chm", "popups.txt", ""},
    };
    for (const Case &c : cases) {
        const HelpTarget target = HelpTarget::parse(QString::fromUtf8(c.text));
        EXPECT_EQ(target.file, c.file) << c.text;
        EXPECT_EQ(target.topic, c.topic) << c.text;
        EXPECT_EQ(target.window, c.window) << c.text;
    }
    EXPECT_EQ(HelpTarget::parse("/opt/Help.chm::/a.htm>main").toString(), "/opt/Help.chm::/a.htm>main");
}

TEST(PopupTextFile, eachTopicRunsToTheNext)
{
    const PopupTextFile popups =
        PopupTextFile::parse(".topic 2000\nFirst line\nsecond line\n\n.topic IDH_NAMED\r\nNamed.\n.topics 3\n");
    EXPECT_EQ(popups.text(2000), "First line\nsecond line");
    EXPECT_EQ(popups.text("IDH_NAMED"), "Named.\n.topics 3");
    EXPECT_EQ(popups.text(2010), "");
}

TEST(HelpSearchIndex, findsTopicsHoldingEveryWordMostHitsFirst)
{
    HelpSearchIndex index;
    index.addTopic("/one.htm", pageWith("One", "<p>Folder folder FOLDER and a bookmark</p>"));
    index.addTopic("/two.htm", pageWith("Two", "<p>A folder, a bookmark, a <b>bookmark</b></p><!-- hidden -->"));
    index.addTopic("/three.htm", pageWith("Three", "<script>var bookmark;</script><p>Nothing.</p>"));

    const auto found = [&](const char *query) {
        QStringList titles;
        for (const HelpSearchIndex::Hit &hit : index.search(QString::fromUtf8(query)))
            titles << QStringLiteral("%1:%2").arg(hit.title).arg(hit.hits);
        return titles.join(QLatin1Char(' ')).toStdString();
    };
    EXPECT_EQ(found("folder"), "One:3 Two:1");
    EXPECT_EQ(found("Bookmark"), "Two:2 One:1") << "case does not matter; scripts are not text";
    EXPECT_EQ(found("folder bookmark"), "One:4 Two:3");
    EXPECT_EQ(found("folder nothing"), "");
    EXPECT_EQ(found("hidden"), "") << "comments are not text";
    EXPECT_EQ(found("color"), "") << "style sheets are not text";
    EXPECT_EQ(found("  ,; "), "");
    EXPECT_EQ(found("three"), "Three:1") << "the title is part of the topic";
}

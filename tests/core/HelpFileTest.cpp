#include "help/HelpTopics.h"
#include "help/logic/ChmArchive.h"
#include "help/logic/PopupTextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

QStringList captures(const QByteArray &text, const QString &pattern)
{
    QStringList found;
    const QRegularExpression expression(pattern, QRegularExpression::CaseInsensitiveOption);
    for (auto it = expression.globalMatch(QString::fromUtf8(text)); it.hasNext();)
        found << it.next().captured(1);
    return found;
}

QStringList sitemapLocals(const QByteArray &sitemap)
{
    return captures(sitemap, R"re(<param\s+name="Local"\s+value="([^"]*)")re");
}

bool isExternal(const QString &link)
{
    static const QRegularExpression scheme(QStringLiteral("^[a-z][a-z0-9+.-]*:"),
                                           QRegularExpression::CaseInsensitiveOption);
    return scheme.match(link).hasMatch();
}

QString fileNameOf(const QString &path)
{
    return path.section(QLatin1Char('/'), -1);
}

// Sorted, one per line, so that a failure shows which names differ.
std::string lines(const QSet<QString> &names)
{
    QStringList sorted(names.begin(), names.end());
    sorted.sort();
    return sorted.join(QLatin1Char('\n')).toStdString();
}

std::string lines(const QMap<int, QString> &topics)
{
    QStringList text;
    for (auto it = topics.begin(); it != topics.end(); ++it)
        text << QStringLiteral("%1 %2").arg(it.key()).arg(it.value());
    return text.join(QLatin1Char('\n')).toStdString();
}

class HelpFileTest : public ::testing::Test
{
protected:
    static QString helpFilePath() { return QDir(SITEPINS_PROGRAM_DIR).filePath(HelpTopics::kHelpFileName); }

    void SetUp() override
    {
        ASSERT_TRUE(QFileInfo::exists(helpFilePath())) << helpFilePath().toStdString();
        ASSERT_TRUE(m_chm.isOpen());
        const QStringList paths = m_chm.filePaths();
        m_paths = QSet<QString>(paths.begin(), paths.end());
    }

    QByteArray object(const QString &path) const { return m_chm.read(path).value_or(QByteArray()); }

    QSet<QString> topicPaths() const
    {
        QSet<QString> topics;
        for (const QString &path : m_paths)
            if (path.endsWith(QLatin1String(".htm")))
                topics.insert(path);
        return topics;
    }

    // Why `link`, found in `from`, leads nowhere; empty when it reaches a
    // file of the help, and the anchor in it when it names one.
    QString deadEnd(const QString &from, const QString &link) const
    {
        if (isExternal(link))
            return {};
        const QString file = link.section(QLatin1Char('#'), 0, 0);
        const QString anchor = link.section(QLatin1Char('#'), 1);
        const QString target =
            file.isEmpty() ? from : QDir::cleanPath(QFileInfo(from).path() + QLatin1Char('/') + file);
        if (!m_paths.contains(target))
            return QStringLiteral("%1: %2 is not in the help file").arg(from, link);
        const QStringList anchors = captures(object(target), R"re(\b(?:id|name)="([^"]*)")re");
        if (!anchor.isEmpty() && !anchors.contains(anchor))
            return QStringLiteral("%1: %2 has no anchor %3").arg(from, file, anchor);
        return {};
    }

    ChmArchive m_chm{helpFilePath()};
    QSet<QString> m_paths;
};

} // namespace

TEST_F(HelpFileTest, contentsListEveryTopicAndTheIndexLeadsToThem)
{
    const QStringList contents = sitemapLocals(object("/SitePins.hhc"));
    const QStringList index = sitemapLocals(object("/SitePins.hhk"));
    ASSERT_FALSE(contents.isEmpty());
    EXPECT_FALSE(index.isEmpty());
    EXPECT_EQ(contents.first(), HelpTopics::kContentsTopic);

    QSet<QString> listed;
    for (const QString &local : contents)
        listed.insert(QLatin1Char('/') + local);
    EXPECT_EQ(lines(listed), lines(topicPaths())) << "the contents name exactly the topics the file holds";
    EXPECT_EQ(listed.size(), contents.size()) << "each topic once";

    QStringList deadEnds;
    for (const auto &[sitemap, locals] : {std::pair{"/SitePins.hhc", contents}, {"/SitePins.hhk", index}})
        for (const QString &local : locals)
            if (const QString problem = deadEnd(sitemap, local); !problem.isEmpty())
                deadEnds << problem;
    EXPECT_TRUE(deadEnds.isEmpty()) << deadEnds.join('\n').toStdString();
}

TEST_F(HelpFileTest, everyLinkBetweenTopicsReachesItsTopicAndAnchor)
{
    QStringList deadEnds;
    int links = 0;
    for (const QString &topic : topicPaths()) {
        const QByteArray page = object(topic);
        EXPECT_FALSE(captures(page, "<title>([^<]+)</title>").isEmpty()) << topic.toStdString() << " has a title";
        for (const QString &link : captures(page, R"re(\b(?:href|src)="([^"]*)")re")) {
            ++links;
            if (const QString problem = deadEnd(topic, link); !problem.isEmpty())
                deadEnds << problem;
        }
    }
    EXPECT_GT(links, 0);
    EXPECT_TRUE(deadEnds.isEmpty()) << deadEnds.join('\n').toStdString();
}

// The file's context map lists, for each number, an offset into its string
// table. chmcmd 3.2.2 stores the source file's absolute path there rather than
// the topic's path inside the file, so only the file name is compared.
TEST_F(HelpFileTest, contextNumbersLeadToTheTopicsTheProgramExpects)
{
    const QByteArray map = object("/#IVB");
    const QByteArray strings = object("/#STRINGS");
    ASSERT_GE(map.size(), 4);
    ASSERT_EQ(qFromLittleEndian<quint32>(map.constData()), quint32(map.size() - 4));

    QMap<int, QString> inFile;
    for (qsizetype at = 4; at + 8 <= map.size(); at += 8) {
        const auto context = int(qFromLittleEndian<quint32>(map.constData() + at));
        const auto offset = qsizetype(qFromLittleEndian<quint32>(map.constData() + at + 4));
        ASSERT_LT(offset, strings.size());
        inFile.insert(context, fileNameOf(QString::fromUtf8(strings.constData() + offset)));
    }

    QMap<int, QString> expected;
    for (const HelpTopics::Topic &topic : HelpTopics::kContextTopics) {
        expected.insert(topic.contextId, QString::fromLatin1(topic.path));
        EXPECT_TRUE(m_paths.contains(QLatin1Char('/') + QLatin1String(topic.path))) << topic.path;
        EXPECT_EQ(m_chm.topicForContext(topic.contextId).toStdString(), '/' + std::string(topic.path))
            << "as the viewer finds it";
    }
    EXPECT_EQ(lines(inFile), lines(expected));
    EXPECT_EQ(m_chm.topicForContext(999), QString());
}

TEST_F(HelpFileTest, holdsATextPopupForEachFieldOfASitePin)
{
    const PopupTextFile popups = PopupTextFile::parse(object(QLatin1Char('/') + QLatin1String(HelpTopics::kPopupFile)));
    for (int field = 0; field < 5; ++field)
        EXPECT_FALSE(popups.text(HelpTopics::kFirstFieldPopup + 10 * field).isEmpty()) << field;
}

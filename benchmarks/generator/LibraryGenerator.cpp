#include "LibraryGenerator.h"

#include <QDate>
#include <QFile>
#include <QStringList>

#include <algorithm>
#include <vector>

namespace {

// The same declaration as the empty library that installation provides.
constexpr char kPrologue[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE FOLDERS [
<!ELEMENT FOLDERS (FOLDER*)>
<!ELEMENT FOLDER (NAME, SITEPINS, SUBFOLDERS)>
<!ATTLIST FOLDER TID ID #REQUIRED>
<!ELEMENT SITEPINS (SITEPIN*)>
<!ELEMENT SUBFOLDERS (FOLDER*)>
<!ELEMENT SITEPIN (NAME, ADDRESS, CREATED_DATE, DESCRIPTION, NOTES, KEYWORD1, KEYWORD2, FAV)>
<!ATTLIST SITEPIN WID ID #REQUIRED>
<!ELEMENT NAME (#PCDATA)>
<!ELEMENT ADDRESS (#PCDATA)>
<!ELEMENT CREATED_DATE (#PCDATA)>
<!ELEMENT DESCRIPTION (#PCDATA)>
<!ELEMENT NOTES (#PCDATA)>
<!ELEMENT KEYWORD1 (#PCDATA)>
<!ELEMENT KEYWORD2 (#PCDATA)>
<!ELEMENT FAV (#PCDATA)>
]>
)";

constexpr int kMaxDepth = 7;

// Word pools, '|' between entries. Some entries need escaping in XML, some
// are not ASCII, as in any real collection of bookmarks.
QStringList pool(const char *entries)
{
    return QString::fromUtf8(entries).split(QLatin1Char('|'));
}

struct Pools
{
    const QStringList topFolders = pool("Work|Home & Garden|Travel|Recipes|Programming|Finance|Health|Music|Photos|"
                                        "Reading list|News|Shopping|Kids|Cars|DIY|Science|Sport|Games|Films & TV|"
                                        "Languages|Archive|Hobbies|Family|Holidays|Learning|Reference|Jobs");
    const QStringList subFolders =
        pool("C++|Qt|Linux|Databases|Python|Networking|Security|Tutorials|Docs|Tools|Conferences|Blogs|Forums|"
             "Papers|Bread|Desserts|Vegetarian|Italy|Japan|Norway|Cafés|Zürich|München|Kraków|Ski resorts|Flights|"
             "Hotels|Taxes|Insurance|Pensions|Running|Cycling|Guitar|Jazz|Lenses|Darkroom|Vegetables|Roses|"
             "Electronics|Woodwork|Astronomy|Chemistry|Football|Chess|Español|Français|Deutsch|Old stuff|To read|"
             "Maybe later|Misc|Tips & tricks|Q&A|<unsorted>|Straßenbahn|Smørrebrød|Ελληνικά|Car parts|School|"
             "Podcasts|Mortgage|Allotment|Recipes to try");
    const QStringList folderQualifiers = pool(" 2024| 2025| (old)| - misc| ideas| reference");
    const QStringList titleWords =
        pool("How|to|build|a|the|best|guide|for|beginners|sourdough|bread|review|widgets|tutorial|release|notes|"
             "café|naïve|Bayes|Zürich|Straße|crème|brûlée|São Paulo|Москва|東京|manual|reference|introduction|"
             "advanced|weekend|trip|recipe|easy|quick|complete|free|online|course|price|comparison|C++20|"
             "coroutines|std::vector|<chrono>|&|Tips|Tricks|\"Hello|world\"|-|–|2026|FAQ|Home|Page|Welcome|"
             "Wikipedia|GitHub|Forum|BBC|News|weather|forecast|map|timetable|garden|roses|pruning|camera|lens|test|"
             "Qt 6.4|QXmlStreamWriter|Class|libxml2|API|Debian|packages|a > b");
    const QStringList hosts =
        pool("en.wikipedia.org|doc.qt.io|github.com|www.bbc.co.uk|news.ycombinator.com|www.debian.org|"
             "en.cppreference.com|stackoverflow.com|www.youtube.com|www.amazon.de|www.sbb.ch|www.yr.no|"
             "maps.example.net|www.rhs.org.uk|www.bbcgoodfood.com|www.dpreview.com|arxiv.org|lwn.net|"
             "www.theguardian.com|www.lemonde.fr|www.spiegel.de|shop.example.com|intranet.example.org|"
             "localhost:8080|bücher.example.de");
    const QStringList slugs =
        pool("docs|en|wiki|articles|2025|11|how-to-prune-roses|sourdough-starter-guide|index|products|item|12345|"
             "search|watch|user|posts|blog|reference|cpp|container|vector|Straße|café-menu|qt-6.4|qxmlstreamwriter|"
             "p|98765432|category|travel|norway|fjords|download|release-notes|v2");
    const QStringList queryKeys = pool("q|id|lang|page|ref|utm_source|sort|v|s|tab");
    const QStringList queryValues =
        pool("en|de|42|1|relevance|C%2B%2B|caf%C3%A9|dQw4w9WgXcQ|sitepins|newsletter|price_asc|2");
    const QStringList proseWords =
        pool("this|page|explains|how|to|set|up|the|a|an|and|with|for|of|in|on|useful|example|recipe|library|"
             "settings|good|price|list|&|<b>|a < b|x > y|\"recommended\"|it's|naïve|façade|über|Ångström|café|"
             "fiancée|résumé|cooperate|weekend|train|hotel|booking|reference|manual|chapter|version|release|bug|"
             "fix|garden|soil|tomatoes|roses|camera|lens|review|compare|later|read|again|important|old|new|free|"
             "account|login|password|manager|see|also|notes|more");
    const QStringList noteLineStarts = pool("- |TODO: |* ||Login: see password manager & 2FA - |Price: 42 € - |> |1. ");
};

const Pools &pools()
{
    static const Pools instance;
    return instance;
}

constexpr const char *const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

struct Folder
{
    int parent = -1;
    int depth = 1;
    int weight = 0;
    QString name;
    std::vector<int> children;
    std::vector<int> sitePins;
};

void appendIndent(QByteArray &out, int level)
{
    out.append(qsizetype(level) * 2, ' ');
}

// Escaped as the program's save escapes element text: a carriage return must
// become a reference or the next parse would turn it into a line feed.
void appendEscaped(QByteArray &out, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    for (const char c : utf8) {
        switch (c) {
        case '&':
            out.append("&amp;");
            break;
        case '<':
            out.append("&lt;");
            break;
        case '>':
            out.append("&gt;");
            break;
        case '\r':
            out.append("&#13;");
            break;
        default:
            out.append(c);
        }
    }
}

void appendTextElement(QByteArray &out, int level, const char *tag, const QString &text)
{
    appendIndent(out, level);
    out.append('<').append(tag);
    if (text.isEmpty()) {
        out.append("/>\n");
        return;
    }
    out.append('>');
    appendEscaped(out, text);
    out.append("</").append(tag).append(">\n");
}

// Creation dates grow with the identifier, as they do in a library filled
// over the years.
QString createdDate(int index, int count)
{
    static const QDate first(2019, 3, 1);
    static const QDate last(2026, 12, 4);
    const qint64 span = first.daysTo(last);
    const QDate date = first.addDays(count > 0 ? span * index / count : 0);
    return QStringLiteral("%1 %2 %3")
        .arg(date.day(), 2, 10, QLatin1Char('0'))
        .arg(QLatin1String(kMonths[date.month() - 1]))
        .arg(date.year());
}

} // namespace

LibraryGenerator::LibraryGenerator(std::uint32_t seed)
    : m_seed(seed)
    , m_random(seed)
{
}

int LibraryGenerator::folderCountFor(int sitePinCount)
{
    if (sitePinCount <= 0)
        return 0;
    return 12 + sitePinCount / 110;
}

// Modulo rather than std::uniform_int_distribution: the standard libraries
// disagree on the latter, and the files must be the same everywhere.
int LibraryGenerator::below(int bound)
{
    return bound <= 1 ? 0 : int(m_random() % std::uint32_t(bound));
}

bool LibraryGenerator::percentChance(int percent)
{
    return below(100) < percent;
}

const QString &LibraryGenerator::pick(const QStringList &pool)
{
    return pool.at(below(int(pool.size())));
}

QString LibraryGenerator::folderName(int depth)
{
    QString name = pick(depth == 1 ? pools().topFolders : pools().subFolders);
    if (percentChance(15))
        name += pick(pools().folderQualifiers);
    return name;
}

QString LibraryGenerator::sitePinName()
{
    const int target = 10 + below(51);
    QString name;
    while (name.size() < target) {
        if (!name.isEmpty())
            name += QLatin1Char(' ');
        name += pick(pools().titleWords);
    }
    name.truncate(target);
    name = name.trimmed();
    while (name.size() < 10)
        name += QStringLiteral(" Home");
    return name.left(60);
}

QString LibraryGenerator::address()
{
    const int target = 30 + below(91);
    QString url = QString::fromLatin1(percentChance(90) ? "https://" : "http://");
    url += pick(pools().hosts);
    QString query;
    if (percentChance(35)) {
        const int pairs = 1 + below(3);
        for (int i = 0; i < pairs; ++i) {
            query += QLatin1Char(i == 0 ? '?' : '&');
            query += pick(pools().queryKeys) + QLatin1Char('=') + pick(pools().queryValues);
        }
    }
    if (percentChance(5))
        query += QStringLiteral("#chapter-%1").arg(1 + below(12));
    while (url.size() + query.size() < target)
        url += QLatin1Char('/') + pick(pools().slugs);
    if (percentChance(20))
        url += QStringLiteral(".html");
    url += query;
    url.truncate(120);
    return url;
}

QString LibraryGenerator::sentence(int targetLength)
{
    QString text;
    int wordsInSentence = 0;
    int sentenceLength = 8 + below(8);
    while (true) {
        QString word = pick(pools().proseWords);
        if (wordsInSentence == 0)
            word[0] = word[0].toUpper();
        const qsizetype added = (text.isEmpty() ? 0 : 1) + word.size() + 1;
        if (!text.isEmpty() && text.size() + added > targetLength)
            break;
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        text += word;
        if (++wordsInSentence == sentenceLength) {
            text += QLatin1Char('.');
            wordsInSentence = 0;
            sentenceLength = 8 + below(8);
        }
    }
    if (!text.endsWith(QLatin1Char('.')))
        text += QLatin1Char('.');
    return text;
}

QString LibraryGenerator::description()
{
    if (percentChance(15))
        return {};
    return sentence(15 + below(286));
}

QString LibraryGenerator::notes()
{
    if (percentChance(80))
        return {};
    if (percentChance(50))
        return sentence(10 + below(111));
    QStringList lines;
    const int lineCount = 2 + below(5);
    for (int i = 0; i < lineCount; ++i)
        lines += pick(pools().noteLineStarts) + sentence(5 + below(76));
    return lines.join(QLatin1Char('\n'));
}

QByteArray LibraryGenerator::generate(int sitePinCount)
{
    m_random.seed(m_seed);
    const int pinCount = std::clamp(sitePinCount, 0, kMaxSitePins);
    const int folderCount = folderCountFor(pinCount);
    m_lastFolderCount = folderCount;

    std::vector<Folder> folders(static_cast<std::size_t>(folderCount));
    const int topLevel = std::min(folderCount, 6 + folderCount / 40);
    for (int i = 0; i < folderCount; ++i) {
        Folder &folder = folders[std::size_t(i)];
        if (i >= topLevel) {
            // Half the time under one of the folders made just before: people
            // file into what they have just created, which is what makes
            // real trees deep rather than bushy.
            int parent = 0;
            do {
                parent = percentChance(50) ? i - 1 - below(std::min(i, 5)) : below(i);
            } while (folders[std::size_t(parent)].depth >= kMaxDepth);
            folder.parent = parent;
            folder.depth = folders[std::size_t(parent)].depth + 1;
            folders[std::size_t(parent)].children.push_back(i);
        }
        folder.name = folderName(folder.depth);
        // Some folders only hold folders, a few hold most of the SitePins.
        folder.weight = percentChance(12) ? 0 : percentChance(20) ? 10 + below(40) : 1 + below(8);
    }

    std::vector<int> cumulative;
    int total = 0;
    for (Folder &folder : folders) {
        total += folder.weight;
        cumulative.push_back(total);
    }
    if (total == 0 && !folders.empty()) {
        folders.front().weight = 1;
        std::fill(cumulative.begin(), cumulative.end(), 1);
        total = 1;
    }
    // Identifiers in creation order, each new SitePin appended to its folder.
    for (int wid = 1; wid <= pinCount; ++wid) {
        const auto it = std::upper_bound(cumulative.begin(), cumulative.end(), below(total));
        folders[std::size_t(it - cumulative.begin())].sitePins.push_back(wid);
    }

    QByteArray out;
    out.reserve(qsizetype(pinCount) * 600 + 4096);
    out.append(kPrologue);

    auto appendSitePin = [&](int wid, int level) {
        appendIndent(out, level);
        out.append("<SITEPIN WID=\"W").append(QByteArray::number(wid)).append("\">\n");
        appendTextElement(out, level + 1, "NAME", sitePinName());
        appendTextElement(out, level + 1, "ADDRESS", address());
        appendTextElement(out, level + 1, "CREATED_DATE", createdDate(wid - 1, pinCount));
        appendTextElement(out, level + 1, "DESCRIPTION", description());
        appendTextElement(out, level + 1, "NOTES", notes());
        appendTextElement(out, level + 1, "KEYWORD1", {});
        appendTextElement(out, level + 1, "KEYWORD2", {});
        appendTextElement(out, level + 1, "FAV", percentChance(5) ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
        appendIndent(out, level);
        out.append("</SITEPIN>\n");
    };

    auto appendFolder = [&](auto &self, int index, int level) -> void {
        const Folder &folder = folders[std::size_t(index)];
        appendIndent(out, level);
        out.append("<FOLDER TID=\"T").append(QByteArray::number(index + 1)).append("\">\n");
        appendTextElement(out, level + 1, "NAME", folder.name);
        appendIndent(out, level + 1);
        if (folder.sitePins.empty()) {
            out.append("<SITEPINS/>\n");
        } else {
            out.append("<SITEPINS>\n");
            for (const int wid : folder.sitePins)
                appendSitePin(wid, level + 2);
            appendIndent(out, level + 1);
            out.append("</SITEPINS>\n");
        }
        appendIndent(out, level + 1);
        if (folder.children.empty()) {
            out.append("<SUBFOLDERS/>\n");
        } else {
            out.append("<SUBFOLDERS>\n");
            for (const int child : folder.children)
                self(self, child, level + 2);
            appendIndent(out, level + 1);
            out.append("</SUBFOLDERS>\n");
        }
        appendIndent(out, level);
        out.append("</FOLDER>\n");
    };

    if (folders.empty()) {
        out.append("<FOLDERS/>\n");
    } else {
        out.append("<FOLDERS>\n");
        for (int i = 0; i < topLevel; ++i)
            appendFolder(appendFolder, i, 1);
        out.append("</FOLDERS>\n");
    }
    return out;
}

QString LibraryGenerator::writeLibrary(const QString &path, int sitePinCount, std::uint32_t seed)
{
    if (sitePinCount < 0 || sitePinCount > kMaxSitePins)
        return QStringLiteral("The SitePin count must be between 0 and %1.").arg(kMaxSitePins);
    LibraryGenerator generator(seed);
    const QByteArray bytes = generator.generate(sitePinCount);
    // Unbuffered, so that a full disk shows up in write() rather than being
    // lost in a flush nobody checks; a partial file is not left behind.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString error = file.errorString();
        file.close();
        file.remove();
        return error;
    }
    file.close();
    return {};
}

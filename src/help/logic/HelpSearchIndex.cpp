#include "help/logic/HelpSearchIndex.h"

#include "help/logic/ChmArchive.h"
#include "help/logic/HtmlText.h"

#include <QRegularExpression>

#include <algorithm>

QStringList HelpSearchIndex::words(const QString &text)
{
    static const QRegularExpression word(QStringLiteral("[\\w]+(?:['\\x{2019}][\\w]+)*"),
                                         QRegularExpression::UseUnicodePropertiesOption);
    QStringList found;
    for (auto it = word.globalMatch(text); it.hasNext();)
        found << it.next().captured(0).toCaseFolded();
    return found;
}

void HelpSearchIndex::addTopic(const QString &path, const QString &html)
{
    QString title = HtmlText::title(html);
    m_titles.insert(path, title.isEmpty() ? path.section(QLatin1Char('/'), -1) : title);
    for (const QString &word : words(HtmlText::plainText(html)))
        ++m_topicsByWord[word][path];
}

HelpSearchIndex HelpSearchIndex::fromArchive(const ChmArchive &archive)
{
    HelpSearchIndex index;
    for (const QString &path : archive.filePaths()) {
        if (!path.endsWith(QLatin1String(".htm"), Qt::CaseInsensitive) &&
            !path.endsWith(QLatin1String(".html"), Qt::CaseInsensitive))
            continue;
        if (const auto page = archive.read(path))
            index.addTopic(path, HtmlText::decode(*page));
    }
    return index;
}

QList<HelpSearchIndex::Hit> HelpSearchIndex::search(const QString &query) const
{
    QStringList terms = words(query);
    terms.removeDuplicates();
    if (terms.isEmpty())
        return {};
    QHash<QString, int> scores = m_topicsByWord.value(terms.takeFirst());
    for (const QString &term : std::as_const(terms)) {
        const QHash<QString, int> topics = m_topicsByWord.value(term);
        for (auto it = scores.begin(); it != scores.end();) {
            const int more = topics.value(it.key());
            if (more == 0) {
                it = scores.erase(it);
            } else {
                it.value() += more;
                ++it;
            }
        }
    }
    QList<Hit> hits;
    for (auto it = scores.cbegin(); it != scores.cend(); ++it)
        hits.append({it.key(), m_titles.value(it.key()), it.value()});
    std::sort(hits.begin(), hits.end(), [](const Hit &a, const Hit &b) {
        if (a.hits != b.hits)
            return a.hits > b.hits;
        return a.title.localeAwareCompare(b.title) < 0;
    });
    return hits;
}

#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class ChmArchive;

// Full-text search over a help file's topics: every word of every topic,
// with how often it occurs there. Built once, when search is first used.
class HelpSearchIndex
{
public:
    struct Hit
    {
        QString path;
        QString title;
        int hits = 0;
    };

    void addTopic(const QString &path, const QString &html);
    // Every ".htm"/".html" file of the archive.
    static HelpSearchIndex fromArchive(const ChmArchive &archive);

    // The topics holding every word of the query, most hits first, then by
    // title. Case does not matter; a query without words finds nothing.
    QList<Hit> search(const QString &query) const;
    int topicCount() const { return int(m_titles.size()); }

    static QStringList words(const QString &text);

private:
    QHash<QString, QHash<QString, int>> m_topicsByWord;
    QHash<QString, QString> m_titles;
};

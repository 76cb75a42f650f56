#include "help/logic/SitemapParser.h"

#include "help/logic/HtmlText.h"

#include <QHash>
#include <QRegularExpression>

#include <vector>

namespace {

QHash<QString, QString> attributes(const QString &text)
{
    static const QRegularExpression attribute(
        QStringLiteral(R"re(([\w-]+)\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s>]+)))re"));
    QHash<QString, QString> found;
    for (auto it = attribute.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        QString value = match.captured(2);
        if (!match.hasCaptured(2))
            value = match.hasCaptured(3) ? match.captured(3) : match.captured(4);
        found.insert(match.captured(1).toLower(), HtmlText::decodeEntities(value));
    }
    return found;
}

class SitemapBuilder
{
public:
    SitemapBuilder() { m_levels.push_back(&m_root); }

    void openList()
    {
        // The outermost list holds the top entries; every further one
        // nests under the entry just read, if there is one.
        ++m_depth;
        if (m_depth == 1)
            return;
        QList<SitemapEntry> *current = m_levels.back();
        m_levels.push_back(current->isEmpty() ? current : &current->last().children);
    }

    void closeList()
    {
        if (m_depth == 0)
            return;
        if (m_depth > 1)
            m_levels.pop_back();
        --m_depth;
    }

    void beginObject(bool isSitemap)
    {
        m_inObject = isSitemap;
        m_entry = SitemapEntry();
    }

    void addParameter(const QString &name, const QString &value)
    {
        if (!m_inObject)
            return;
        if (name.compare(QLatin1String("Name"), Qt::CaseInsensitive) == 0 && m_entry.name.isEmpty())
            m_entry.name = value;
        else if (name.compare(QLatin1String("Local"), Qt::CaseInsensitive) == 0 && !value.isEmpty())
            m_entry.locals.append(value);
    }

    void endObject()
    {
        if (m_inObject && !(m_entry.name.isEmpty() && m_entry.locals.isEmpty()))
            m_levels.back()->append(m_entry);
        m_inObject = false;
    }

    QList<SitemapEntry> result() const { return m_root; }

private:
    QList<SitemapEntry> m_root;
    std::vector<QList<SitemapEntry> *> m_levels;
    SitemapEntry m_entry;
    int m_depth = 0;
    bool m_inObject = false;
};

} // namespace

QList<SitemapEntry> SitemapParser::parse(const QByteArray &html)
{
    static const QRegularExpression tag(QStringLiteral(R"re(<\s*(/?)\s*(ul|object|param)\b([^>]*)>)re"),
                                        QRegularExpression::CaseInsensitiveOption);
    SitemapBuilder builder;
    const QString text = HtmlText::decode(html);
    for (auto it = tag.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const bool closing = !match.captured(1).isEmpty();
        const QString name = match.captured(2).toLower();
        if (name == QLatin1String("ul")) {
            closing ? builder.closeList() : builder.openList();
        } else if (name == QLatin1String("object")) {
            if (closing)
                builder.endObject();
            else
                builder.beginObject(attributes(match.captured(3))
                                        .value(QStringLiteral("type"))
                                        .compare(QLatin1String("text/sitemap"), Qt::CaseInsensitive) == 0);
        } else if (!closing) {
            const QHash<QString, QString> parameter = attributes(match.captured(3));
            builder.addParameter(parameter.value(QStringLiteral("name")), parameter.value(QStringLiteral("value")));
        }
    }
    return builder.result();
}

#include "help/ChmBrowser.h"

#include "help/logic/ChmArchive.h"
#include "help/logic/HtmlText.h"

#include <QTextDocument>

namespace {

bool isExternalScheme(const QString &scheme)
{
    for (const char *external : {"http", "https", "mailto", "ftp"})
        if (scheme.compare(QLatin1String(external), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

ChmBrowser::ChmBrowser(QWidget *parent)
    : QTextBrowser(parent)
{
    setObjectName(QStringLiteral("ChmBrowser"));
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &ChmBrowser::followLink);
    connect(this, &QTextBrowser::sourceChanged, this, [this] { setExtraSelections({}); });
}

void ChmBrowser::setArchive(std::shared_ptr<const ChmArchive> archive)
{
    m_archive = std::move(archive);
    clearHistory();
    clear();
}

QUrl ChmBrowser::urlFor(const QString &topic)
{
    QUrl url;
    url.setScheme(QString::fromLatin1(kScheme));
    url.setPath(ChmArchive::archivePath(topic));
    const QString anchor = topic.section(QLatin1Char('#'), 1);
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    return url;
}

QString ChmBrowser::currentTopic() const
{
    return source().scheme() == QLatin1String(kScheme) ? source().path(QUrl::FullyDecoded) : QString();
}

QVariant ChmBrowser::loadResource(int type, const QUrl &name)
{
    const QUrl url = name.isRelative() ? source().resolved(name) : name;
    if (url.scheme() != QLatin1String(kScheme) || !m_archive)
        return {};
    const QString path = url.path(QUrl::FullyDecoded);
    const std::optional<QByteArray> data = m_archive->read(path);
    switch (type) {
    case QTextDocument::HtmlResource:
        return data ? HtmlText::decode(*data) : missingPage(path);
    case QTextDocument::StyleSheetResource:
        return data ? QString::fromUtf8(*data) : QString();
    default:
        return data ? QVariant(*data) : QVariant();
    }
}

QString ChmBrowser::missingPage(const QString &path) const
{
    return QStringLiteral("<html><head><title>Page not found</title></head><body><h1>Page not found</h1>"
                          "<p>The page %1 is not part of this help file.</p></body></html>")
        .arg(path.toHtmlEscaped());
}

void ChmBrowser::followLink(const QUrl &link)
{
    const QUrl url = link.isRelative() ? source().resolved(link) : link;
    if (url.scheme() == QLatin1String(kScheme))
        setSource(url);
    else if (isExternalScheme(url.scheme()))
        emit externalLinkActivated(url);
}

void ChmBrowser::highlightWords(const QStringList &words)
{
    QList<ExtraSelection> marks;
    QTextCharFormat mark;
    mark.setBackground(QColor(255, 236, 140));
    for (const QString &word : words) {
        for (QTextCursor found = document()->find(word, 0, QTextDocument::FindWholeWords); !found.isNull();
             found = document()->find(word, found, QTextDocument::FindWholeWords))
            marks.append({found, mark});
    }
    setExtraSelections(marks);
}

#pragma once

#include <QStringList>
#include <QTextBrowser>

#include <memory>

class ChmArchive;

// Shows the pages of a help file, read straight from the archive: pages,
// style sheets and images come through loadResource() under the "chm:"
// scheme ("chm:/topic.htm"), so links between topics resolve like any
// relative link. Nothing is fetched from disk or the network; links out
// of the help are handed on.
class ChmBrowser : public QTextBrowser
{
    Q_OBJECT

public:
    static constexpr const char *kScheme = "chm";

    explicit ChmBrowser(QWidget *parent = nullptr);

    void setArchive(std::shared_ptr<const ChmArchive> archive);
    // "topic.htm", "/folder/topic.htm#anchor" as a page address.
    static QUrl urlFor(const QString &topic);
    // The archive path of the page shown ("/topic.htm"); empty before any.
    QString currentTopic() const;
    // Marks every occurrence of these words on the page shown.
    void highlightWords(const QStringList &words);

    QVariant loadResource(int type, const QUrl &name) override;

signals:
    void externalLinkActivated(const QUrl &url);

private:
    void followLink(const QUrl &link);
    QString missingPage(const QString &path) const;

    std::shared_ptr<const ChmArchive> m_archive;
};

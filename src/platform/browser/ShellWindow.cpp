#include "platform/browser/ShellWindow.h"

#include <QUrl>

bool ShellWindow::isWebAddress(const QString &address)
{
    const QString scheme = QUrl(address).scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("file");
}

// The last non-empty part of the path, else the host: what a window list
// would show for a page that has no title.
QString ShellWindow::shortNameOf(const QString &address)
{
    const QUrl url(address);
    const QStringList parts = url.path().split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (!parts.isEmpty())
        return parts.last();
    return url.host().isEmpty() ? address : url.host();
}

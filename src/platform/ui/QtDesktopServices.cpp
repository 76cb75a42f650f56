#include "platform/ui/QtDesktopServices.h"

#include "platform/DefaultWebBrowser.h"

#include <QDesktopServices>
#include <QUrl>

bool QtDesktopServices::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

bool QtDesktopServices::openDefaultBrowser()
{
    return DefaultWebBrowser::start() || QDesktopServices::openUrl(QUrl(QStringLiteral("about:blank")));
}

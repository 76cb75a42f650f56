#include "platform/ui/QtDesktopServices.h"

#include <QDesktopServices>
#include <QUrl>

bool QtDesktopServices::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

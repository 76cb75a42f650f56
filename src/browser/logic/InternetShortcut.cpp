#include "browser/logic/InternetShortcut.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace {

const QString kUrlKey = QStringLiteral("URL=");
const QString kBaseUrlKey = QStringLiteral("BASEURL=");

} // namespace

QString InternetShortcut::typeDescription(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix.compare(QLatin1String("url"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("Internet Shortcut");
    if (suffix.compare(QLatin1String("ini"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("INI file");
    return {};
}

bool InternetShortcut::isShortcutType(const QString &typeDescription)
{
    return typeDescription.compare(QLatin1String("Internet Shortcut"), Qt::CaseInsensitive) == 0 ||
           typeDescription.compare(QLatin1String("INI file"), Qt::CaseInsensitive) == 0;
}

InternetShortcut InternetShortcut::read(const QString &path)
{
    InternetShortcut shortcut;
    const QFileInfo info(path);
    if (!isShortcutType(typeDescription(info.fileName())))
        return shortcut;
    // A pipe or device under a shortcut's name would block or never end.
    if (!info.isFile() || info.size() > kMaxFileSize) {
        shortcut.outcome = info.isFile() ? Outcome::NotAShortcut : Outcome::Unreadable;
        return shortcut;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        shortcut.outcome = Outcome::Unreadable;
        return shortcut;
    }
    const QByteArray bytes = file.read(kMaxFileSize + 1);
    if (bytes.size() > kMaxFileSize) {
        shortcut.outcome = Outcome::NotAShortcut;
        return shortcut;
    }
    shortcut.name = info.fileName().chopped(std::min<qsizetype>(4, info.fileName().size()));
    shortcut.address = addressIn(decode(bytes));
    shortcut.outcome = shortcut.address.isEmpty() ? Outcome::NoAddress : Outcome::Read;
    return shortcut;
}

QString InternetShortcut::addressIn(const QString &text)
{
    QString address;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        if (!line.contains(kUrlKey, Qt::CaseInsensitive) || line.contains(kBaseUrlKey, Qt::CaseInsensitive))
            continue;
        const qsizetype start = line.indexOf(kUrlKey, 0, Qt::CaseInsensitive) + kUrlKey.size();
        address = line.mid(start).toString();
        if (address.endsWith(QLatin1Char('\r')))
            address.chop(1);
    }
    return address;
}

QString InternetShortcut::decode(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder windows1252("windows-1252");
    if (windows1252.isValid())
        return windows1252.decode(bytes);
    return QString::fromLatin1(bytes);
}

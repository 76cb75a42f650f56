#include "exchange/BrowserProfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <algorithm>
#include <map>

namespace {

// profiles.ini and Local State are small; anything larger is not theirs.
constexpr qint64 kMaxSettingsFileSize = 1024 * 1024;

QByteArray smallFile(const QString &path)
{
    QFile file(path);
    if (file.size() > kMaxSettingsFileSize || !file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

using IniSections = std::map<QString, std::map<QString, QString>>;

// profiles.ini is plain "key=value" lines under "[section]" headings; QSettings
// would read backslashes and percent signs in paths as escapes.
IniSections readIni(const QString &path)
{
    IniSections sections;
    QString section;
    for (const QByteArray &rawLine : smallFile(path).split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0 && !section.isEmpty())
            sections[section][line.left(equals).trimmed()] = line.mid(equals + 1).trimmed();
    }
    return sections;
}

void putDefaultFirst(std::vector<BrowserProfile> &profiles, qsizetype from)
{
    std::stable_partition(profiles.begin() + from, profiles.end(),
                          [](const BrowserProfile &profile) { return profile.isDefault; });
}

void addFirefoxProfiles(const QString &iniFolder, std::vector<BrowserProfile> &profiles, QSet<QString> &seen)
{
    const IniSections sections = readIni(QDir(iniFolder).filePath(QStringLiteral("profiles.ini")));
    // Newer Firefox names each installation's default profile in an
    // [Install...] section; older ones mark it Default=1.
    QSet<QString> installDefaults;
    for (const auto &[name, keys] : sections) {
        const auto path = keys.find(QStringLiteral("Default"));
        if (name.startsWith(QLatin1String("Install")) && path != keys.end())
            installDefaults.insert(path->second);
    }
    const qsizetype first = qsizetype(profiles.size());
    for (const auto &[name, keys] : sections) {
        if (!name.startsWith(QLatin1String("Profile")) || !keys.count(QStringLiteral("Path")))
            continue;
        const QString path = keys.at(QStringLiteral("Path"));
        const bool relative = keys.count(QStringLiteral("IsRelative")) && keys.at(QStringLiteral("IsRelative")) == "1";
        const QString folder = QDir::cleanPath(relative ? QDir(iniFolder).filePath(path) : path);
        const QString places = QDir(folder).filePath(QStringLiteral("places.sqlite"));
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        if (!QFileInfo(places).isFile() || seen.contains(canonical))
            continue;
        seen.insert(canonical);
        BrowserProfile profile;
        profile.browser = QStringLiteral("Firefox");
        profile.name = keys.count(QStringLiteral("Name")) ? keys.at(QStringLiteral("Name")) : path;
        profile.folder = folder;
        profile.bookmarksFile = places;
        profile.isDefault = installDefaults.contains(path) ||
                            (keys.count(QStringLiteral("Default")) && keys.at(QStringLiteral("Default")) == "1");
        profiles.push_back(profile);
    }
    putDefaultFirst(profiles, first);
}

QJsonObject profileNames(const QString &browserFolder)
{
    const QJsonObject state =
        QJsonDocument::fromJson(smallFile(QDir(browserFolder).filePath(QStringLiteral("Local State")))).object();
    return state.value(QLatin1String("profile")).toObject().value(QLatin1String("info_cache")).toObject();
}

void addChromiumProfiles(const QString &browserFolder, const QString &browser, std::vector<BrowserProfile> &profiles)
{
    const QJsonObject names = profileNames(browserFolder);
    const qsizetype first = qsizetype(profiles.size());
    const QFileInfoList folders = QDir(browserFolder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &folder : folders) {
        const QString bookmarks = QDir(folder.filePath()).filePath(QStringLiteral("Bookmarks"));
        if (!QFileInfo(bookmarks).isFile())
            continue;
        BrowserProfile profile;
        profile.browser = browser;
        const QString shown = names.value(folder.fileName()).toObject().value(QLatin1String("name")).toString();
        profile.name = shown.isEmpty() ? folder.fileName() : shown;
        profile.folder = folder.filePath();
        profile.bookmarksFile = bookmarks;
        profile.isDefault = folder.fileName() == QLatin1String("Default");
        profiles.push_back(profile);
    }
    putDefaultFirst(profiles, first);
}

} // namespace

QString BrowserProfile::label() const
{
    const QString folderName = QFileInfo(folder).fileName();
    return name == folderName
               ? browser + QStringLiteral(": ") + name
               : browser + QStringLiteral(": ") + name + QStringLiteral(" (") + folderName + QLatin1Char(')');
}

BrowserProfiles::Roots BrowserProfiles::Roots::fromEnvironment()
{
    Roots roots;
    roots.home = QDir::homePath();
    roots.configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (roots.configHome.isEmpty() || QDir::isRelativePath(roots.configHome))
        roots.configHome = QDir(roots.home).filePath(QStringLiteral(".config"));
    return roots;
}

std::vector<BrowserProfile> BrowserProfiles::firefox(const Roots &roots)
{
    std::vector<BrowserProfile> profiles;
    QSet<QString> seen;
    const QDir home(roots.home);
    for (const QString &folder : {home.filePath(QStringLiteral(".mozilla/firefox")),
                                  QDir(roots.configHome).filePath(QStringLiteral("mozilla/firefox")),
                                  home.filePath(QStringLiteral("snap/firefox/common/.mozilla/firefox")),
                                  home.filePath(QStringLiteral(".var/app/org.mozilla.firefox/.mozilla/firefox"))})
        addFirefoxProfiles(folder, profiles, seen);
    return profiles;
}

std::vector<BrowserProfile> BrowserProfiles::chromium(const Roots &roots)
{
    std::vector<BrowserProfile> profiles;
    const QDir config(roots.configHome);
    addChromiumProfiles(config.filePath(QStringLiteral("chromium")), QStringLiteral("Chromium"), profiles);
    addChromiumProfiles(config.filePath(QStringLiteral("google-chrome")), QStringLiteral("Chrome"), profiles);
    return profiles;
}

#include "browser/GeneratedExtension.h"

#include "browser/ExtensionIcons.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QList<int> kIconSizes{16, 32, 48, 128};
const QList<int> kButtonSizes{16, 32};
const QString kCaptureCommand = QStringLiteral("create-sitepin");

QByteArray resource(const QString &name)
{
    QFile file(QStringLiteral(":/extension/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QJsonObject sourceManifest(const QString &name)
{
    return QJsonDocument::fromJson(resource(name)).object();
}

QJsonObject iconPaths(const QString &name, const QList<int> &sizes)
{
    QJsonObject paths;
    for (const int size : sizes)
        paths.insert(QString::number(size), QStringLiteral("icons/%1-%2.png").arg(name).arg(size));
    return paths;
}

// A message's text with the one character messages.json gives a meaning of
// its own ($) escaped.
QJsonObject message(const QString &text)
{
    return {{QStringLiteral("message"), QString(text).replace(QLatin1Char('$'), QStringLiteral("$$"))}};
}

// What both browsers' manifests gain over the plain bridge.
void addCaptureEntries(QJsonObject &manifest, const GeneratedExtension::Texts &texts, const QString &buttonKey,
                       bool hasIcons)
{
    manifest.insert(QStringLiteral("name"), texts.buttonText);
    manifest.insert(QStringLiteral("description"), texts.menuStatusBar);
    manifest.insert(QStringLiteral("default_locale"), QStringLiteral("en"));
    QJsonArray permissions = manifest.value(QStringLiteral("permissions")).toArray();
    permissions.append(QStringLiteral("contextMenus"));
    manifest.insert(QStringLiteral("permissions"), permissions);
    QJsonObject button{{QStringLiteral("default_title"), texts.buttonText}};
    if (hasIcons) {
        button.insert(QStringLiteral("default_icon"), iconPaths(QStringLiteral("icon"), kButtonSizes));
        manifest.insert(QStringLiteral("icons"), iconPaths(QStringLiteral("icon"), kIconSizes));
    }
    manifest.insert(buttonKey, button);
    // No key of its own: the user may give it one in the browser's settings.
    manifest.insert(QStringLiteral("commands"),
                    QJsonObject{{kCaptureCommand, QJsonObject{{QStringLiteral("description"), texts.menuStatusBar}}}});
}

QByteArray json(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

} // namespace

GeneratedExtension::Texts GeneratedExtension::textsOf(const QList<IntegrationKey::Value> &values)
{
    Texts texts;
    for (const IntegrationKey::Value &value : values) {
        if (value.name == u"ButtonText")
            texts.buttonText = value.data;
        else if (value.name == u"MenuText")
            texts.menuText = QString(value.data).remove(QLatin1Char('&'));
        else if (value.name == u"MenuStatusBar")
            texts.menuStatusBar = value.data;
        else if (value.name == u"Icon")
            texts.iconFile = value.data;
        else if (value.name == u"HotIcon")
            texts.hotIconFile = value.data;
    }
    return texts;
}

QString GeneratedExtension::version()
{
    return sourceManifest(QStringLiteral("manifest.json")).value(QStringLiteral("version")).toString();
}

// A missing icon file leaves the browser's own stand-in icon.
FileTransaction::FolderFiles GeneratedExtension::common(const Texts &texts)
{
    FileTransaction::FolderFiles files;
    files[QStringLiteral("bridge.js")] = resource(QStringLiteral("bridge.js"));
    files[QStringLiteral("_locales/en/messages.json")] =
        json({{QStringLiteral("buttonText"), message(texts.buttonText)},
              {QStringLiteral("menuText"), message(texts.menuText)},
              {QStringLiteral("menuStatusBar"), message(texts.menuStatusBar)}});
    const auto icons = ExtensionIcons::fromIconFile(texts.iconFile, kIconSizes);
    const auto hotIcons = ExtensionIcons::fromIconFile(texts.hotIconFile, kButtonSizes);
    for (const auto &[size, png] : icons)
        files[QStringLiteral("icons/icon-%1.png").arg(size)] = png;
    for (const int size : kButtonSizes) {
        const auto hot = hotIcons.find(size);
        const auto plain = icons.find(size);
        if (hot != hotIcons.end())
            files[QStringLiteral("icons/hot-%1.png").arg(size)] = hot->second;
        else if (plain != icons.end())
            files[QStringLiteral("icons/hot-%1.png").arg(size)] = plain->second;
    }
    return files;
}

FileTransaction::FolderFiles GeneratedExtension::chromium(const Texts &texts, const QByteArray &publicKeyDer)
{
    FileTransaction::FolderFiles files = common(texts);
    QJsonObject manifest = sourceManifest(QStringLiteral("manifest.json"));
    manifest.insert(QStringLiteral("key"), QString::fromLatin1(publicKeyDer.toBase64()));
    addCaptureEntries(manifest, texts, QStringLiteral("action"), files.contains(QStringLiteral("icons/icon-16.png")));
    files[QStringLiteral("manifest.json")] = json(manifest);
    return files;
}

FileTransaction::FolderFiles GeneratedExtension::firefox(const Texts &texts)
{
    FileTransaction::FolderFiles files = common(texts);
    QJsonObject manifest = sourceManifest(QStringLiteral("manifest.firefox.json"));
    addCaptureEntries(manifest, texts, QStringLiteral("browser_action"),
                      files.contains(QStringLiteral("icons/icon-16.png")));
    // On the toolbar itself, not in the extensions menu.
    QJsonObject button = manifest.value(QStringLiteral("browser_action")).toObject();
    button.insert(QStringLiteral("default_area"), QStringLiteral("navbar"));
    manifest.insert(QStringLiteral("browser_action"), button);
    files[QStringLiteral("manifest.json")] = json(manifest);
    return files;
}

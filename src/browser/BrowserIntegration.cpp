#include "browser/BrowserIntegration.h"

#include "browser/GeneratedExtension.h"
#include "mainwindow/frmSitePins.h"
#include "platform/FileTransaction.h"
#include "platform/RegistryFunctions.h"
#include "platform/browser/BridgeExtension.h"
#include "platform/browser/CrxPackage.h"
#include "platform/browser/ExtensionId.h"
#include "platform/browser/ExtensionKey.h"
#include "platform/browser/HostManifest.h"
#include "platform/browser/IntegrationPlaces.h"
#include "platform/browser/ZipArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString kKeyPath = QString::fromLatin1(IntegrationKey::kKeyPath);
const QString kHostProgram = QStringLiteral("SitePinsBridge");

QString execOf(const QList<IntegrationKey::Value> &values)
{
    for (const IntegrationKey::Value &value : values) {
        if (value.name == u"Exec")
            return value.data;
    }
    return {};
}

QString externalFileName(const QString &id)
{
    return id + QStringLiteral(".json");
}

QString xpiFileName()
{
    return BridgeExtension::geckoId() + QStringLiteral(".xpi");
}

// What makes Chromium install a packed extension at its next start.
QByteArray externalExtension(const QString &crxPath, const QString &version)
{
    return QJsonDocument(
               QJsonObject{{QStringLiteral("external_crx"), crxPath}, {QStringLiteral("external_version"), version}})
        .toJson();
}

} // namespace

BrowserIntegration::BrowserIntegration(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
{
    window.commands().on(QStringLiteral("mnuToolsIntegrate"), [this] { mnuToolsIntegrate_Click(); });
    window.commands().on(QStringLiteral("mnuUndoIntegration"), [this] { mnuUndoIntegration_Click(); });
}

QString BrowserIntegration::programName() const
{
    return m_window.environment().programName;
}

bool BrowserIntegration::isIntegrated() const
{
    RegistryKey key;
    if (RegistryFunctions::openRegistryKey(RegistryRoot::HKEY_LOCAL_MACHINE, kKeyPath, key) != ERROR_SUCCESS)
        return false;
    RegistryFunctions::closeRegistryKey(key);
    return true;
}

void BrowserIntegration::mnuToolsIntegrate_Click()
{
    if (!isIntegrated()) {
        integrateWithBrowser();
        return;
    }
    if (m_window.message(QStringLiteral("SitePins Manager has already been integrated with Internet Explorer. Do you "
                                        "want to run it again?"),
                         QString::fromLatin1(frmSitePins::kApplicationTitle), MessageButtons::YesNo,
                         MessageIcon::Information, MessageAnswer::No) == MessageAnswer::Yes)
        integrateWithBrowser();
}

void BrowserIntegration::mnuUndoIntegration_Click()
{
    if (!isIntegrated()) {
        m_window.message(QStringLiteral("SitePins has not been integrated with Internet Explorer."),
                         QString::fromLatin1(frmSitePins::kApplicationTitle), MessageButtons::Ok,
                         MessageIcon::Information);
        return;
    }
    UnInstall();
}

// A browser file that cannot be written is no registry failure to pass
// over: the user learns of it, and nothing is changed.
void BrowserIntegration::integrateWithBrowser()
{
    const QList<IntegrationKey::Value> values =
        IntegrationKey::values(m_window.environment().programFolder, programName());
    QString error;
    if (!writeBrowserFiles(values, &error)) {
        m_window.message(QStringLiteral("SitePins Manager could not be integrated with the web browsers:\n\n%1\n\n"
                                        "Nothing has been changed.")
                             .arg(error),
                         QString::fromLatin1(frmSitePins::kApplicationTitle), MessageButtons::Ok,
                         MessageIcon::Exclamation);
        return;
    }
    writeRegistryValues(values);
    m_window.message(QStringLiteral("SitePins Manager has been added to the Internet Explorer tools menu and a button "
                                    "placed on the toolbar. This change will take effect next time you start Internet "
                                    "Explorer."),
                     QString::fromLatin1(frmSitePins::kApplicationTitle), MessageButtons::Ok, MessageIcon::Information);
}

void BrowserIntegration::writeRegistryValues(const QList<IntegrationKey::Value> &values)
{
    RegistryKey key;
    RegistryFunctions::createRegistryKey(RegistryRoot::HKEY_LOCAL_MACHINE, kKeyPath, key);
    RegistryFunctions::closeRegistryKey(key);
    for (const IntegrationKey::Value &value : values) {
        RegistryFunctions::openRegistryKey(RegistryRoot::HKEY_LOCAL_MACHINE, kKeyPath, key);
        RegistryFunctions::setRegistryValue(key, value.name, REG_SZ, value.data);
        RegistryFunctions::closeRegistryKey(key);
    }
}

bool BrowserIntegration::writeBrowserFiles(const QList<IntegrationKey::Value> &values, QString *error)
{
    const IntegrationPlaces &places = m_window.environment().integrationPlaces;
    const std::optional<ExtensionKey> key = ExtensionKey::loadOrCreate(places.keyFile(), error);
    if (!key)
        return false;
    const QByteArray publicKey = key->publicKeyDer();
    const GeneratedExtension::Texts texts = GeneratedExtension::textsOf(values);
    const FileTransaction::FolderFiles chromium = GeneratedExtension::chromium(texts, publicKey);
    const FileTransaction::FolderFiles firefox = GeneratedExtension::firefox(texts);
    const std::optional<QByteArray> chromiumZip = ZipArchive::build(chromium, error);
    const std::optional<QByteArray> xpi = chromiumZip ? ZipArchive::build(firefox, error) : std::nullopt;
    const QByteArray crx = chromiumZip ? CrxPackage::build(*key, *chromiumZip) : QByteArray();
    if (!xpi)
        return false;
    if (crx.isEmpty()) {
        *error = QStringLiteral("The extension could not be signed");
        return false;
    }
    const QString hostPath = QDir(QFileInfo(execOf(values)).absolutePath()).filePath(kHostProgram);
    FileTransaction files;
    files.replaceFolder(places.extensionFolder(QStringLiteral("chromium")), chromium);
    files.replaceFolder(places.extensionFolder(QStringLiteral("firefox")), firefox);
    planChromium(files, crx, ExtensionId::fromPublicKey(publicKey), hostPath, GeneratedExtension::version());
    planFirefox(files, *xpi, hostPath);
    return files.commit(error);
}

void BrowserIntegration::planChromium(FileTransaction &files, const QByteArray &crx, const QString &id,
                                      const QString &hostPath, const QString &version) const
{
    const IntegrationPlaces &places = m_window.environment().integrationPlaces;
    files.writeFile(places.crxFile(), crx);
    const QByteArray manifest = HostManifest::json(HostManifest::Browser::Chromium, hostPath, {id});
    for (const QString &folder : places.chromiumHostFolders())
        files.writeFile(QDir(folder).filePath(HostManifest::fileName()), manifest);
    for (const QString &folder : places.chromiumExternalFolders()) {
        // The system's browsers may not read a user's files: theirs is kept beside.
        const bool system = folder == places.systemCrxFolder();
        const QString crxPath = system ? QDir(folder).filePath(id + QStringLiteral(".crx")) : places.crxFile();
        if (system)
            files.writeFile(crxPath, crx);
        files.writeFile(QDir(folder).filePath(externalFileName(id)), externalExtension(crxPath, version));
    }
}

void BrowserIntegration::planFirefox(FileTransaction &files, const QByteArray &xpi, const QString &hostPath) const
{
    const IntegrationPlaces &places = m_window.environment().integrationPlaces;
    const QByteArray manifest = HostManifest::json(HostManifest::Browser::Firefox, hostPath);
    for (const QString &folder : places.firefoxHostFolders())
        files.writeFile(QDir(folder).filePath(HostManifest::fileName()), manifest);
    for (const QString &folder : places.firefoxExtensionFolders())
        files.writeFile(QDir(folder).filePath(xpiFileName()), xpi);
}

void BrowserIntegration::UnInstall()
{
    RegistryFunctions::deleteRegistryKey(RegistryRoot::HKEY_LOCAL_MACHINE, kKeyPath);
    const QStringList left = removeBrowserFiles();
    if (!left.isEmpty())
        m_window.message(QStringLiteral("These files of the browser integration could not be removed:\n\n%1")
                             .arg(left.join(QLatin1Char('\n'))),
                         QString::fromLatin1(frmSitePins::kApplicationTitle), MessageButtons::Ok,
                         MessageIcon::Exclamation);
    m_window.message(
        QStringLiteral("SitePins has been removed from the Internet Explorer tools menu and toolbar.  This "
                       "change will take effect next time you start Internet Explorer."),
        QString::fromLatin1(frmSitePins::kApplicationTitle));
}

// The installation's key stays: integrated again later, the extension keeps
// its id, and browsers take it for the same one.
QStringList BrowserIntegration::browserFiles(const QString &chromiumId) const
{
    const IntegrationPlaces &places = m_window.environment().integrationPlaces;
    QStringList files{places.crxFile()};
    for (const QString &folder : places.chromiumHostFolders() + places.firefoxHostFolders())
        files << QDir(folder).filePath(HostManifest::fileName());
    if (!chromiumId.isEmpty()) {
        for (const QString &folder : places.chromiumExternalFolders())
            files << QDir(folder).filePath(externalFileName(chromiumId));
        if (places.systemWide)
            files << QDir(places.systemCrxFolder()).filePath(chromiumId + QStringLiteral(".crx"));
    }
    for (const QString &folder : places.firefoxExtensionFolders())
        files << QDir(folder).filePath(xpiFileName());
    return files;
}

QStringList BrowserIntegration::removeBrowserFiles()
{
    const IntegrationPlaces &places = m_window.environment().integrationPlaces;
    QString error;
    const std::optional<ExtensionKey> key = ExtensionKey::load(places.keyFile(), &error);
    const QString id = key ? ExtensionId::fromPublicKey(key->publicKeyDer()) : QString();
    QStringList left;
    for (const QString &file : browserFiles(id)) {
        const QFileInfo info(file);
        if ((info.exists() || info.isSymLink()) && !QFile::remove(file))
            left << file;
    }
    const QString extension = QDir(places.dataFolder).filePath(QStringLiteral("extension"));
    if (QFileInfo::exists(extension) && !QDir(extension).removeRecursively())
        left << extension;
    return left;
}

#include "browser/BrowserIntegration.h"
#include "MainWindowFixture.h"
#include "TestEnvironment.h"
#include "TestFiles.h"
#include "platform/RegistryFunctions.h"
#include "platform/browser/BridgeExtension.h"
#include "platform/browser/ExtensionId.h"
#include "platform/browser/ExtensionKey.h"
#include "platform/browser/IntegrationKey.h"
#include "platform/browser/ZipArchive.h"

#include <QDirIterator>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <map>
#include <unistd.h>

namespace {

const QString kKeyPath = QString::fromLatin1(IntegrationKey::kKeyPath);
const char kIntegrated[] = "SitePins Manager has been added to the Internet Explorer tools menu and a button placed on "
                           "the toolbar. This change will take effect next time you start Internet Explorer.";
const char kAskAgain[] = "SitePins Manager has already been integrated with Internet Explorer. Do you want to run it "
                         "again?";
const char kRemoved[] = "SitePins has been removed from the Internet Explorer tools menu and toolbar.  This change "
                        "will take effect next time you start Internet Explorer.";
const char kNotIntegrated[] = "SitePins has not been integrated with Internet Explorer.";

QJsonObject readJson(const QString &path)
{
    return QJsonDocument::fromJson(TestFiles::read(path)).object();
}

// A home, a data folder and a system root of the test's own, with one
// Firefox profile; the program folder holds the icons.
class BrowserIntegrationTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        writeLibraryBody(LibraryText::folder(1, "Work"));
        for (const char *icon : {"Icon.ico", "HotIcon.ico"})
            ASSERT_TRUE(QFile::copy(TestEnvironment::iconFile(icon), QDir(programFolder()).filePath(icon)));
        const QDir home(m_root.filePath("home"));
        ASSERT_TRUE(home.mkpath(".mozilla/firefox/p1.default-esr"));
        ASSERT_TRUE(TestFiles::write(home.filePath(".mozilla/firefox/profiles.ini"),
                                     "[Profile0]\nName=default-esr\nIsRelative=1\nPath=p1.default-esr\n"));
        IntegrationPlaces &places = m_environment.integrationPlaces;
        places.dataFolder = m_root.filePath("home/.local/share/SitePins");
        places.chromiumUserDataFolders = {home.filePath(".config/chromium"), home.filePath(".config/google-chrome")};
        places.mozillaFolder = home.filePath(".mozilla");
        places.systemWide = true;
        places.systemRoot = m_root.filePath("system");
    }

    const IntegrationPlaces &places() const { return m_environment.integrationPlaces; }
    QString home(const QString &path) const { return m_root.filePath("home/" + path); }
    QString system(const QString &path) const { return m_root.filePath("system/" + path); }
    QString hostPath() const { return programFolder() + "/SitePinsBridge"; }

    // Name to data, in the order the key lists them.
    static std::vector<std::pair<QString, QString>> registryValues()
    {
        RegistryKey key;
        if (RegistryFunctions::openRegistryKey(RegistryRoot::HKEY_LOCAL_MACHINE, kKeyPath, key) != ERROR_SUCCESS)
            return {};
        QStringList names;
        RegistryFunctions::enumRegistryValues(key, names);
        std::vector<std::pair<QString, QString>> values;
        for (const QString &name : names) {
            QVariant data;
            RegistryFunctions::queryRegistryValue(key, name, data);
            values.emplace_back(name, data.toString());
        }
        return values;
    }

    std::vector<std::pair<QString, QString>> expectedValues() const
    {
        const QString folder = programFolder();
        return {{"ButtonText", "SitePins Manager"},
                {"CLSID", "{1FBA04EE-3024-11d2-8F1F-0000F87ABD16}"},
                {"Default Visible", "Yes"},
                {"Exec", folder + "/SitePins"},
                {"HotIcon", folder + "/HotIcon.ico"},
                {"Icon", folder + "/Icon.ico"},
                {"MenuStatusBar", "Save this web page as a new SitePin."},
                {"MenuText", "Create &SitePin"}};
    }

    // Every file below the test's root, with its content.
    std::map<QString, QByteArray> files() const
    {
        std::map<QString, QByteArray> found;
        QDirIterator it(m_root.path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            found[QDir(m_root.path()).relativeFilePath(path)] = TestFiles::read(path);
        }
        return found;
    }

    QString installationId() const
    {
        QString error;
        const auto key = ExtensionKey::load(places().keyFile(), &error);
        return key ? ExtensionId::fromPublicKey(key->publicKeyDer()) : QString();
    }

    void integrate()
    {
        m_dialogs.forget();
        runMenu("mnuToolsIntegrate");
    }

    QTemporaryDir m_root;
};

} // namespace

// Twice asks; No leaves the values as they are, Yes writes all eight again.
TEST_F(BrowserIntegrationTest, integratingTwiceAsksAndOnlyYesRewritesTheValues)
{
    start();
    EXPECT_FALSE(window().browserIntegration().isIntegrated());
    integrate();
    expectOnlyMessage(kIntegrated, "SitePins", MessageButtons::Ok, MessageIcon::Information);
    EXPECT_EQ(registryValues(), expectedValues());
    EXPECT_TRUE(window().browserIntegration().isIntegrated());

    RegistryKey key;
    RegistryFunctions::openRegistryKey(RegistryRoot::HKEY_LOCAL_MACHINE, kKeyPath, key);
    for (const auto &[name, data] : expectedValues())
        RegistryFunctions::setRegistryValue(key, name, REG_SZ, "stale");
    auto stale = expectedValues();
    for (auto &value : stale)
        value.second = "stale";

    m_dialogs.answerNext(MessageAnswer::No);
    integrate();
    expectOnlyMessage(kAskAgain, "SitePins", MessageButtons::YesNo, MessageIcon::Information);
    EXPECT_EQ(m_dialogs.shown().front().request.defaultButton, MessageAnswer::No);
    EXPECT_EQ(registryValues(), stale);

    m_dialogs.answerNext(MessageAnswer::Yes);
    integrate();
    EXPECT_EQ(m_dialogs.shownTexts(), (QStringList{kAskAgain, kIntegrated}));
    EXPECT_EQ(registryValues(), expectedValues());
}

// The extension for each browser, with the button and menu entry named by
// the values, and what makes each browser install it and start its host.
TEST_F(BrowserIntegrationTest, writesTheExtensionAndWhatEachBrowserNeedsToRunIt)
{
    start();
    integrate();
    const QString id = installationId();
    ASSERT_EQ(id.size(), 32);
    EXPECT_NE(id, BridgeExtension::chromiumId());

    const QString chromium = places().extensionFolder("chromium");
    const QJsonObject manifest = readJson(chromium + "/manifest.json");
    EXPECT_EQ(ExtensionId::fromManifestKey(manifest.value("key").toString()), id);
    EXPECT_EQ(manifest.value("action").toObject().value("default_title").toString(), "SitePins Manager");
    EXPECT_EQ(manifest.value("description").toString(), "Save this web page as a new SitePin.");
    EXPECT_TRUE(manifest.value("permissions").toArray().contains("contextMenus"));
    const QJsonObject messages = readJson(chromium + "/_locales/en/messages.json");
    EXPECT_EQ(messages.value("menuText").toObject().value("message").toString(), "Create SitePin");
    for (const int size : {16, 32, 48, 128}) {
        const QImage icon(chromium + QStringLiteral("/icons/icon-%1.png").arg(size));
        EXPECT_EQ(icon.size(), QSize(size, size)) << size;
    }
    EXPECT_NE(TestFiles::read(chromium + "/icons/hot-16.png"), TestFiles::read(chromium + "/icons/icon-16.png"));

    const QJsonArray origins{BridgeExtension::chromiumOrigin(), "chrome-extension://" + id + "/"};
    for (const QString &folder :
         {home(".config/chromium/NativeMessagingHosts"), home(".config/google-chrome/NativeMessagingHosts"),
          system("etc/chromium/native-messaging-hosts"), system("etc/opt/chrome/native-messaging-hosts")}) {
        const QJsonObject host = readJson(folder + "/org.sitepins.bridge.json");
        EXPECT_EQ(host.value("path").toString(), hostPath()) << folder.toStdString();
        EXPECT_EQ(host.value("allowed_origins").toArray(), origins) << folder.toStdString();
    }
    for (const QString &folder :
         {home(".mozilla/native-messaging-hosts"), system("usr/lib/mozilla/native-messaging-hosts")}) {
        const QJsonObject host = readJson(folder + "/org.sitepins.bridge.json");
        EXPECT_EQ(host.value("path").toString(), hostPath());
        EXPECT_EQ(host.value("allowed_extensions").toArray(), QJsonArray{"bridge@sitepins.org"});
    }

    const std::pair<QString, QString> external[] = {
        {home(".config/chromium/External Extensions/"), places().crxFile()},
        {home(".config/google-chrome/External Extensions/"), places().crxFile()},
        {system("usr/lib/chromium/extensions/"), system("usr/lib/chromium/extensions/") + id + ".crx"}};
    for (const auto &[folder, crx] : external) {
        const QJsonObject install = readJson(folder + id + ".json");
        EXPECT_EQ(install.value("external_crx").toString(), crx);
        EXPECT_EQ(install.value("external_version").toString(), manifest.value("version").toString());
        EXPECT_TRUE(TestFiles::read(crx).startsWith("Cr24"));
    }

    for (const QString &folder : {home(".mozilla/firefox/p1.default-esr/extensions"),
                                  system("usr/lib/mozilla/extensions/{ec8030f7-c20a-464f-9b0e-13a3a9e97384}")}) {
        QString error;
        const auto xpi = ZipArchive::read(TestFiles::read(folder + "/bridge@sitepins.org.xpi"), &error);
        ASSERT_TRUE(xpi) << folder.toStdString() << ": " << error.toStdString();
        const QJsonObject firefox = QJsonDocument::fromJson(xpi->at("manifest.json")).object();
        EXPECT_EQ(firefox.value("manifest_version").toInt(), 2);
        EXPECT_EQ(firefox.value("browser_specific_settings").toObject().value("gecko").toObject().value("id"),
                  "bridge@sitepins.org");
        EXPECT_EQ(firefox.value("browser_action").toObject().value("default_title").toString(), "SitePins Manager");
        EXPECT_TRUE(xpi->contains("icons/hot-32.png"));
    }

    m_dialogs.answerNext(MessageAnswer::Yes);
    integrate();
    EXPECT_EQ(installationId(), id) << "the installation keeps its key, and so its id";
}

// Undo takes away what integration wrote, and only that: the installation's
// key stays for the next time. A second undo says there is nothing to undo.
TEST_F(BrowserIntegrationTest, undoRemovesWhatIntegrationWroteAndTheSecondSaysSo)
{
    ASSERT_TRUE(TestFiles::write(home(".config/chromium/NativeMessagingHosts/other.host.json"), "{}"));
    ASSERT_TRUE(TestFiles::write(home(".mozilla/firefox/p1.default-esr/extensions/other@example.org.xpi"), "PK"));
    start();
    const auto before = files();
    integrate();
    ASSERT_GT(files().size(), before.size() + 15);

    m_dialogs.forget();
    runMenu("mnuUndoIntegration");
    expectOnlyMessage(kRemoved, "SitePins", MessageButtons::Ok, MessageIcon::None);
    EXPECT_FALSE(window().browserIntegration().isIntegrated());
    auto expected = before;
    const QString key = QDir(m_root.path()).relativeFilePath(places().keyFile());
    expected[key] = TestFiles::read(places().keyFile());
    EXPECT_EQ(files(), expected);

    m_dialogs.forget();
    runMenu("mnuUndoIntegration");
    expectOnlyMessage(kNotIntegrated, "SitePins", MessageButtons::Ok, MessageIcon::Information);
}

// A folder that takes no files: the user is told, and every browser file
// is as before (the key, made first, is kept for the next try).
TEST_F(BrowserIntegrationTest, aFolderThatTakesNoFilesLeavesNothingHalfWritten)
{
    const QString blocked = home(".mozilla/native-messaging-hosts");
    // Root writes into read-only folders; a file where the folder belongs
    // stops everyone.
    if (::geteuid() == 0) {
        ASSERT_TRUE(TestFiles::write(blocked, "not a folder"));
    } else {
        ASSERT_TRUE(QDir().mkpath(blocked));
        QFile::setPermissions(blocked, QFile::ReadOwner | QFile::ExeOwner);
    }
    ASSERT_TRUE(TestFiles::write(places().extensionFolder("chromium") + "/bridge.js", "an older copy"));
    start();
    const auto before = files();
    integrate();
    ASSERT_EQ(m_dialogs.shown().size(), 1u);
    const MessageRequest &shown = m_dialogs.shown().front().request;
    EXPECT_TRUE(shown.text.startsWith("SitePins Manager could not be integrated with the web browsers:\n\n"))
        << shown.text.toStdString();
    EXPECT_TRUE(shown.text.contains(blocked)) << shown.text.toStdString();
    EXPECT_EQ(shown.icon, MessageIcon::Exclamation);
    EXPECT_FALSE(window().browserIntegration().isIntegrated());
    auto expected = before;
    expected[QDir(m_root.path()).relativeFilePath(places().keyFile())] = TestFiles::read(places().keyFile());
    EXPECT_EQ(files(), expected);
    QFile::setPermissions(blocked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

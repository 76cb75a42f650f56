#include "TestEnvironment.h"
#include "TestFiles.h"
#include "platform/RuntimeFolder.h"
#include "platform/browser/BridgeExtension.h"
#include "platform/browser/BridgeFolder.h"
#include "platform/browser/ExtensionId.h"
#include "platform/browser/HostManifest.h"
#include "platform/browser/NativeMessageCodec.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QByteArray littleEndianLength(quint32 length)
{
    QByteArray bytes;
    for (int shift = 0; shift < 32; shift += 8)
        bytes += char((length >> shift) & 0xff);
    return bytes;
}

QByteArray nativeMessage(const QByteArray &json)
{
    return littleEndianLength(quint32(json.size())) + json;
}

std::vector<QByteArray> decodeInPieces(NativeMessageCodec &codec, const QByteArray &stream, qsizetype piece)
{
    std::vector<QByteArray> messages;
    for (qsizetype at = 0; at < stream.size(); at += piece) {
        codec.append(stream.mid(at, piece));
        QByteArray message;
        while (codec.next(message))
            messages.push_back(message);
    }
    return messages;
}

QJsonObject jsonFile(const QString &path)
{
    return QJsonDocument::fromJson(TestFiles::read(path)).object();
}

// The length goes first in little-endian order, whatever the pieces.
TEST(NativeMessageCodec, decodesMessagesHoweverTheStreamIsCut)
{
    const QByteArray stream = nativeMessage(R"({"id":1})") + nativeMessage("") + nativeMessage(R"({"t":"Größe"})");
    EXPECT_EQ(stream.left(4), QByteArray("\x08\x00\x00\x00", 4));
    for (const qsizetype piece : {qsizetype(1), qsizetype(3), stream.size()}) {
        NativeMessageCodec codec(1024);
        const std::vector<QByteArray> expected{R"({"id":1})", "", R"({"t":"Größe"})"};
        EXPECT_EQ(decodeInPieces(codec, stream, piece), expected) << piece;
        EXPECT_EQ(codec.partialSize(), 0);
    }
    NativeMessageCodec held(1024);
    held.append(stream.left(6));
    QByteArray message;
    EXPECT_FALSE(held.next(message));
    EXPECT_EQ(held.partialSize(), 2) << "the length is read, the start of the message held";
}

// A message longer than the decoder takes is passed over as it streams by,
// holding nothing of it, and the message after it comes through.
TEST(NativeMessageCodec, skipsOversizedMessagesWithoutHoldingThem)
{
    const QByteArray good = nativeMessage(R"({"ok":true})");
    struct Case
    {
        const char *name;
        QByteArray before;
        int skipped;
        int delivered;
    };
    const Case cases[] = {
        {"just over the cap", nativeMessage(QByteArray(65, 'x')), 1, 1},
        {"at the cap", nativeMessage(QByteArray(64, 'x')), 0, 2},
        {"several over the cap", nativeMessage(QByteArray(100, 'x')) + nativeMessage(QByteArray(5000, 'y')), 2, 1},
    };
    for (const Case &row : cases) {
        SCOPED_TRACE(row.name);
        NativeMessageCodec codec(64);
        const auto messages = decodeInPieces(codec, row.before + good, 7);
        EXPECT_EQ(codec.skippedCount(), row.skipped);
        ASSERT_EQ(int(messages.size()), row.delivered);
        EXPECT_EQ(messages.back(), R"({"ok":true})");
    }

    NativeMessageCodec codec(1024);
    codec.append(littleEndianLength(0xffffffffu));
    for (int i = 0; i < 64; ++i)
        codec.append(QByteArray(64 * 1024, 'z'));
    QByteArray message;
    EXPECT_FALSE(codec.next(message));
    EXPECT_EQ(codec.skippedCount(), 1);
    EXPECT_EQ(codec.partialSize(), 0);
}

// Browsers take at most 1 MiB from a host and drop the host for more.
TEST(NativeMessageCodec, encodesUpToTheBrowsersLimit)
{
    const auto small = NativeMessageCodec::encode("{}");
    ASSERT_TRUE(small);
    EXPECT_EQ(*small, QByteArray("\x02\x00\x00\x00{}", 6));
    const qsizetype limit = 1024 * 1024;
    EXPECT_TRUE(NativeMessageCodec::encode(QByteArray(limit, ' ')));
    EXPECT_FALSE(NativeMessageCodec::encode(QByteArray(limit + 1, ' ')));
}

// The ID was worked out apart from this code, from the key's DER with
// sha256sum and tr 0-9a-f a-p; Chromium reports the same for the extension
// (see the Chromium bridge tests).
TEST(ExtensionId, followsFromThePublicKey)
{
    EXPECT_EQ(BridgeExtension::chromiumId(), "dclojnogpomkmaomfmkbmhdaagkdbjdc");
    EXPECT_EQ(BridgeExtension::chromiumOrigin(), "chrome-extension://dclojnogpomkmaomfmkbmhdaagkdbjdc/");
    EXPECT_EQ(ExtensionId::fromPublicKey(QByteArray()), "odlameecjipmbmbejkplpemijjgpljce");
    EXPECT_EQ(ExtensionId::fromManifestKey("not base64!"), QString());
}

// The names the browser matches literally must be the same on both sides.
TEST(BridgeExtensionFiles, manifestsMatchTheHostSide)
{
    const QJsonObject chromium = jsonFile(QDir(TestEnvironment::extensionDir("chromium")).filePath("manifest.json"));
    EXPECT_EQ(chromium.value("manifest_version").toInt(), 3);
    EXPECT_EQ(chromium.value("key").toString(), BridgeExtension::publicKey());
    EXPECT_EQ(chromium.value("background").toObject().value("service_worker"), "bridge.js");

    // Firefox ESR runs Manifest V2 background scripts, and knows the
    // extension by its gecko id alone.
    const QJsonObject firefox = jsonFile(QDir(TestEnvironment::extensionDir("firefox")).filePath("manifest.json"));
    EXPECT_EQ(firefox.value("manifest_version").toInt(), 2);
    EXPECT_FALSE(firefox.contains("key"));
    EXPECT_EQ(firefox.value("browser_specific_settings").toObject().value("gecko").toObject().value("id"),
              BridgeExtension::geckoId());
    EXPECT_EQ(firefox.value("background").toObject().value("scripts"), QJsonArray{"bridge.js"});

    for (const QJsonObject &manifest : {chromium, firefox}) {
        const QJsonArray permissions = manifest.value("permissions").toArray();
        EXPECT_TRUE(permissions.contains("nativeMessaging"));
        EXPECT_TRUE(permissions.contains("tabs")); // addresses and titles of all tabs
    }
    QFile script(QDir(TestEnvironment::extensionDir("firefox")).filePath("bridge.js"));
    ASSERT_TRUE(script.open(QIODevice::ReadOnly));
    EXPECT_TRUE(script.readAll().contains("\"" + BridgeExtension::hostName().toUtf8() + "\""));
}

TEST(HostManifest, hasTheShapeEachBrowserRequires)
{
    const QString host = "/opt/sitepins/bin/SitePinsBridge";
    const struct
    {
        HostManifest::Browser browser;
        QString allowedKey;
        QString allowed;
        QString otherKey;
    } cases[] = {
        {HostManifest::Browser::Chromium, "allowed_origins", BridgeExtension::chromiumOrigin(), "allowed_extensions"},
        {HostManifest::Browser::Firefox, "allowed_extensions", BridgeExtension::geckoId(), "allowed_origins"},
    };
    QTemporaryDir folder;
    for (const auto &row : cases) {
        SCOPED_TRACE(row.allowedKey.toStdString());
        const QJsonObject manifest = QJsonDocument::fromJson(HostManifest::json(row.browser, host)).object();
        const QString name = manifest.value("name").toString();
        EXPECT_TRUE(QRegularExpression("^[a-z0-9_]+(\\.[a-z0-9_]+)*$").match(name).hasMatch());
        EXPECT_EQ(HostManifest::fileName(), name + ".json");
        EXPECT_EQ(manifest.value("path").toString(), host);
        EXPECT_EQ(manifest.value("type").toString(), "stdio");
        EXPECT_FALSE(manifest.value("description").toString().isEmpty());
        EXPECT_EQ(manifest.value(row.allowedKey).toArray(), QJsonArray{row.allowed});
        EXPECT_FALSE(manifest.contains(row.otherKey));

        const QString target = folder.filePath(row.allowedKey + "/NativeMessagingHosts");
        ASSERT_TRUE(HostManifest::write(row.browser, target, host));
        EXPECT_EQ(jsonFile(QDir(target).filePath(HostManifest::fileName())), manifest);
        EXPECT_FALSE(HostManifest::write(row.browser, target, "SitePinsBridge"));
    }
}

TEST(HostManifest, goesWhereEachBrowserLooks)
{
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    EXPECT_EQ(HostManifest::chromiumFolder(), config + "/chromium/NativeMessagingHosts");
    EXPECT_EQ(HostManifest::chromeFolder(), config + "/google-chrome/NativeMessagingHosts");
    EXPECT_EQ(HostManifest::firefoxFolder(), QDir::homePath() + "/.mozilla/native-messaging-hosts");
    EXPECT_EQ(HostManifest::userDataFolder("/tmp/profile"), "/tmp/profile/NativeMessagingHosts");
}

// The program and every host find the same folder: in the private runtime
// folder, or where SITEPINS_BRIDGE_DIR says; one of ours is made private,
// a link in its place is refused.
TEST(BridgeFolder, isPrivateOrRefused)
{
    QTemporaryDir root;
    const QString fresh = root.filePath("fresh");
    const QString open = root.filePath("open");
    QDir(root.path()).mkdir("open");
    ::chmod(QFile::encodeName(open).constData(), 0755);
    for (const QString &made : {fresh, open}) {
        qputenv("SITEPINS_BRIDGE_DIR", made.toUtf8());
        EXPECT_EQ(BridgeFolder::path(), made);
        struct stat info = {};
        ASSERT_EQ(::stat(QFile::encodeName(made).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
    }
    const QString link = root.filePath("link");
    QFile::link(fresh, link);
    qputenv("SITEPINS_BRIDGE_DIR", link.toUtf8());
    QString error;
    EXPECT_TRUE(BridgeFolder::path(&error).isEmpty());
    EXPECT_FALSE(error.isEmpty());

    qunsetenv("SITEPINS_BRIDGE_DIR");
    EXPECT_EQ(BridgeFolder::path(), RuntimeFolder::locate().filePath("bridge"));
    EXPECT_EQ(BridgeFolder::path(), qEnvironmentVariable("XDG_RUNTIME_DIR") + "/SitePins/bridge");
}

TEST(BridgeFolder, knowsItsOwnSocketNames)
{
    EXPECT_EQ(BridgeFolder::hostPidOf(BridgeFolder::hostSocketName(4321)), 4321);
    for (const char *name : {"host-.socket", "host-0.socket", "host-12.socket.tmp", "host-12x.socket",
                             "SitePins.socket", "host-99999999999.socket"})
        EXPECT_FALSE(BridgeFolder::hostPidOf(QString::fromLatin1(name))) << name;
}

} // namespace

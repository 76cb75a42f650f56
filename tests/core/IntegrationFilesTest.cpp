#include "TestFiles.h"
#include "platform/CapturedPage.h"
#include "platform/FileTransaction.h"
#include "platform/browser/CrxPackage.h"
#include "platform/browser/ExtensionId.h"
#include "platform/browser/ExtensionKey.h"
#include "platform/browser/IntegrationPlaces.h"
#include "platform/browser/ZipArchive.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <map>
#include <sys/stat.h>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Every file and folder below root with the content of each file.
std::map<QString, QByteArray> snapshot(const QString &root)
{
    std::map<QString, QByteArray> tree;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        tree[QDir(root).relativeFilePath(path)] = it.fileInfo().isDir() ? QByteArray("<folder>") : readFile(path);
    }
    return tree;
}

TEST(FileTransaction, writesEverythingOrLeavesEverythingAsItWas)
{
    QTemporaryDir root;
    const QDir base(root.path());
    ASSERT_TRUE(TestFiles::write(base.filePath("existing.json"), "old"));
    ASSERT_TRUE(TestFiles::write(base.filePath("ext/old-only.js"), "old script"));
    ASSERT_TRUE(TestFiles::write(base.filePath("blocker"), "a file where a folder is wanted"));
    const auto before = snapshot(root.path());

    const auto plan = [&](FileTransaction &files, bool blocked) {
        files.writeFile(base.filePath("existing.json"), "new");
        files.replaceFolder(base.filePath("ext"), {{"manifest.json", "{}"}, {"icons/icon-16.png", "png"}});
        files.writeFile(base.filePath("made/deeper/host.json"), "manifest");
        files.writeFile(base.filePath(blocked ? "blocker/host.json" : "last.json"), "last");
    };
    FileTransaction failing;
    plan(failing, true);
    QString error;
    EXPECT_FALSE(failing.commit(&error));
    EXPECT_TRUE(error.contains(base.filePath("blocker"))) << error.toStdString();
    EXPECT_EQ(snapshot(root.path()), before) << "a failed write leaves no trace";

    FileTransaction succeeding;
    plan(succeeding, false);
    ASSERT_TRUE(succeeding.commit(&error)) << error.toStdString();
    EXPECT_EQ(readFile(base.filePath("existing.json")), "new");
    EXPECT_EQ(readFile(base.filePath("made/deeper/host.json")), "manifest");
    EXPECT_EQ(QDir(base.filePath("ext")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              (QStringList{"icons", "manifest.json"}))
        << "the folder holds exactly the new files";
    EXPECT_EQ(base.entryList({"*.staging", "*.previous"}, QDir::AllEntries), QStringList());
}

// The key is made once, private, and gives the same id every time after.
TEST(ExtensionKey, isMadePrivateOnceAndKept)
{
    QTemporaryDir root;
    const QString pem = root.filePath("data/key.pem");
    QString error;
    const auto made = ExtensionKey::loadOrCreate(pem, &error);
    ASSERT_TRUE(made) << error.toStdString();
    struct stat info = {};
    ASSERT_EQ(::stat(QFile::encodeName(pem).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    const auto again = ExtensionKey::loadOrCreate(pem, &error);
    ASSERT_TRUE(again);
    EXPECT_EQ(again->publicKeyDer(), made->publicKeyDer());
    EXPECT_EQ(ExtensionId::fromPublicKey(made->publicKeyDer()).size(), 32);

    ASSERT_TRUE(TestFiles::write(root.filePath("garbage.pem"), "not a key"));
    EXPECT_FALSE(ExtensionKey::loadOrCreate(root.filePath("garbage.pem"), &error));
    EXPECT_FALSE(ExtensionKey::load(root.filePath("none.pem"), &error));
}

// The frame Chromium reads: magic, version 3, the header's length, the
// header naming the key's id, and the archive untouched after it.
TEST(CrxPackage, framesTheArchiveBehindASignedHeader)
{
    QTemporaryDir root;
    QString error;
    const auto key = ExtensionKey::loadOrCreate(root.filePath("key.pem"), &error);
    ASSERT_TRUE(key);
    const auto zip = ZipArchive::build({{"manifest.json", "{}"}}, &error);
    ASSERT_TRUE(zip);
    const QByteArray crx = CrxPackage::build(*key, *zip);
    ASSERT_TRUE(crx.startsWith("Cr24"));
    EXPECT_EQ(qFromLittleEndian<quint32>(crx.constData() + 4), 3u);
    const quint32 headerSize = qFromLittleEndian<quint32>(crx.constData() + 8);
    EXPECT_EQ(crx.mid(12 + headerSize), *zip);
    const QByteArray header = crx.mid(12, headerSize);
    EXPECT_TRUE(header.contains(key->publicKeyDer()));
    EXPECT_TRUE(header.contains(CrxPackage::crxId(key->publicKeyDer())));
}

TEST(ZipArchive, holdsWhatWasPutInAndTheSameBytesEachTime)
{
    const ZipArchive::Files files{
        {"manifest.json", "{\"name\":\"x\"}"}, {"icons/icon-16.png", QByteArray(300, '\x89')}, {"empty.txt", ""}};
    QString error;
    const auto first = ZipArchive::build(files, &error);
    ASSERT_TRUE(first) << error.toStdString();
    EXPECT_EQ(ZipArchive::build(files, &error), first);
    const auto read = ZipArchive::read(*first, &error);
    ASSERT_TRUE(read) << error.toStdString();
    EXPECT_EQ(*read, files);
    EXPECT_FALSE(ZipArchive::read("PK not really", &error));
}

TEST(CapturedPage, takesWebPagesOnlyAndTravelsWhole)
{
    const struct
    {
        const char *url;
        bool taken;
    } rows[] = {
        {"http://127.0.0.1:8080/a.html", true},
        {"https://example.org/", true},
        {"file:///home/u/page.html", true},
        {"chrome://settings", false},
        {"javascript:alert(1)", false},
        {"", false},
        {"about:blank", false},
    };
    for (const auto &row : rows)
        EXPECT_EQ(CapturedPage::make(QString::fromLatin1(row.url), "t").has_value(), row.taken) << row.url;
    EXPECT_FALSE(CapturedPage::make("https://x/" + QString(CapturedPage::kMaxUrlLength, 'a'), "t"));

    const auto page = CapturedPage::make("https://example.org/a b", "  Line\nbreak --capture-url=evil  ");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->title, "Line break --capture-url=evil");
    EXPECT_EQ(CapturedPage::fromMessage(page->toMessage()), page);
    EXPECT_EQ(CapturedPage::fromArguments(QStringList{"SitePins"} + page->toArguments()), page);
    EXPECT_FALSE(CapturedPage::fromArguments({"SitePins"}));
    EXPECT_FALSE(CapturedPage::fromMessage(Message::handOver("https://example.org/")));
}

TEST(IntegrationPlaces, findsEachFirefoxProfileAndTheSystemFoldersBelowItsRoot)
{
    QTemporaryDir root;
    const QDir base(root.path());
    for (const char *folder : {"mozilla/firefox/abc.default-esr", "elsewhere/custom", "mozilla/firefox/x.default"})
        ASSERT_TRUE(base.mkpath(folder));
    ASSERT_TRUE(
        TestFiles::write(base.filePath("mozilla/firefox/profiles.ini"),
                         "[Install4F96D1932A9F858E]\nDefault=x.default\n\n"
                         "[Profile0]\nName=default-esr\nIsRelative=1\nPath=abc.default-esr\n\n"
                         "[Profile1]\nName=custom\nIsRelative=0\nPath=" +
                             base.filePath("elsewhere/custom").toUtf8() +
                             "\n\n[Profile2]\nName=gone\nIsRelative=1\nPath=missing\n\n[General]\nVersion=2\n"));
    IntegrationPlaces places;
    places.mozillaFolder = base.filePath("mozilla");
    places.systemRoot = base.filePath("system");
    EXPECT_EQ(places.firefoxExtensionFolders(),
              (QStringList{base.filePath("mozilla/firefox/abc.default-esr/extensions"),
                           base.filePath("elsewhere/custom/extensions")}));
    places.systemWide = true;
    EXPECT_EQ(places.firefoxExtensionFolders().last(),
              base.filePath("system/usr/lib/mozilla/extensions/{ec8030f7-c20a-464f-9b0e-13a3a9e97384}"));
    EXPECT_EQ(places.chromiumExternalFolders().last(), base.filePath("system/usr/lib/chromium/extensions"));
    EXPECT_EQ(places.chromiumHostFolders(),
              (QStringList{base.filePath("system/etc/chromium/native-messaging-hosts"),
                           base.filePath("system/etc/opt/chrome/native-messaging-hosts")}));
}

} // namespace

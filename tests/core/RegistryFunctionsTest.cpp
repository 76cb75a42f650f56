#include "platform/RegistryFunctions.h"
#include "QtPrinters.h"
#include "TestFiles.h"
#include "platform/RegistryFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

// Readable failure messages; found by argument-dependent lookup.
static void PrintTo(const QVariant &value, std::ostream *out)
{
    *out << value.metaType().name() << '(' << value.toString().toStdString() << ')';
}

namespace {

using RF = RegistryFunctions;
constexpr RegistryRoot kUser = RegistryRoot::HKEY_CURRENT_USER;
const QString kSettingsKey = "Software\\KelvaneSoft\\SitePins\\";

// Each test gets a config folder of its own.
class RegistryTest : public ::testing::Test
{
protected:
    void SetUp() override { qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8()); }

    static QString filePath() { return RF::registryFilePath(kUser); }
    static RegistryKey create(const QString &path)
    {
        RegistryKey key;
        EXPECT_EQ(RF::createRegistryKey(kUser, path, key), ERROR_SUCCESS);
        return key;
    }
    static bool exists(const QString &path)
    {
        RegistryKey key;
        return RF::openRegistryKey(kUser, path, key) == ERROR_SUCCESS;
    }
    static QByteArray fileBytes() { return TestFiles::read(filePath()); }
    static QVariant read(const QString &name, const QString &path = kSettingsKey)
    {
        return RF::getRegistryValue(kUser, path, name);
    }

    QTemporaryDir m_config;
};

// Every read goes back to the file, so the type must have been written down.
TEST_F(RegistryTest, valuesKeepTheirValueAndType)
{
    const std::tuple<int, QVariant, QVariant> table[] = {
        {REG_SZ, "2", "2"},
        {REG_SZ, QString(), QString()},
        {REG_SZ, 42, "42"},
        {REG_SZ, "a=b\n[c]\r;d #e \\n \\x41", "a=b\n[c]\r;d #e \\n \\x41"},
        {REG_SZ, "  Größe ✓  ", "  Größe ✓  "},
        {REG_DWORD, 42, QVariant::fromValue<quint32>(42)},
        {REG_DWORD, 0xffffffffu, QVariant::fromValue<quint32>(0xffffffffu)},
        {REG_DWORD, -1, QVariant::fromValue<quint32>(0xffffffffu)},
        {REG_DWORD, "17", QVariant::fromValue<quint32>(17)}};
    const RegistryKey key = create(kSettingsKey);
    for (std::size_t row = 0; row < std::size(table); ++row) {
        const auto &[type, written, expected] = table[row];
        const QString name = QStringLiteral("Value%1").arg(row);
        ASSERT_EQ(RF::setRegistryValue(key, name, type, written), ERROR_SUCCESS);
        EXPECT_EQ(read(name).metaType(), expected.metaType()) << row;
        EXPECT_EQ(read(name), expected);
    }
}

// Names made of what the file syntax uses itself must neither break the file
// nor collide with each other; the subkeys have no values and must exist all the same.
TEST_F(RegistryTest, awkwardNamesStayDistinct)
{
    const QStringList names{QString(), "@",        "%40",    "a=b",         "[x]",         ";comment",
                            "#hash",   " spaced ", "spaced", "back\\slash", "line\nbreak", "Größe"};
    const RegistryKey key = create(kSettingsKey);
    for (qsizetype i = 0; i < names.size(); ++i) {
        ASSERT_EQ(RF::setRegistryValue(key, names[i], REG_DWORD, int(i)), ERROR_SUCCESS) << i;
        if (!names[i].contains(u'\\'))
            create(kSettingsKey + names[i]);
    }
    QStringList values, subKeys;
    ASSERT_EQ(RF::enumRegistryValues(key, values), ERROR_SUCCESS);
    EXPECT_EQ(values.size(), names.size());
    for (qsizetype i = 0; i < names.size(); ++i) {
        QVariant value;
        EXPECT_EQ(RF::queryRegistryValue(key, names[i], value), ERROR_SUCCESS) << i;
        EXPECT_EQ(value.toUInt(), uint(i)) << i;
        if (!names[i].isEmpty() && !names[i].contains(u'\\')) {
            EXPECT_TRUE(exists(kSettingsKey + names[i])) << i;
        }
    }
    ASSERT_EQ(RF::enumRegistrySubKeys(key, subKeys), ERROR_SUCCESS);
    EXPECT_EQ(subKeys.size(), names.size() - 2); // no key named "" or holding a backslash
}

// A file written by another process: the stored types are what it says.
TEST_F(RegistryTest, readsTypesWrittenByAnotherProcess)
{
    ASSERT_TRUE(TestFiles::write(
        filePath(), "Top=sz:root value\n[Software\\KelvaneSoft\\SitePins]\r\n; a comment\nTabIndex=sz:1\r\n"
                    "Count=dword:0000002a\nBlob=hex:00,ff\nExpand=hex(2):41,00\nOdd=something else\n@=sz:default\n"));
    EXPECT_EQ(read("Top", QString()), QVariant("root value"));
    EXPECT_EQ(read("TabIndex"), QVariant("1"));
    EXPECT_EQ(read("Count"), QVariant::fromValue<quint32>(42));
    EXPECT_EQ(read(QString()), QVariant("default"));
    EXPECT_TRUE(exists("Software")); // parents implied by the section

    // Values of other types are reported, never read, and survive our rewrites.
    const RegistryKey key = create(kSettingsKey);
    for (const char *name : {"Blob", "Expand", "Odd"}) {
        QVariant untouched("unchanged");
        EXPECT_EQ(RF::queryRegistryValue(key, QString::fromLatin1(name), untouched), ERROR_UNSUPPORTED_TYPE) << name;
        EXPECT_EQ(untouched, QVariant("unchanged")) << name;
    }
    ASSERT_EQ(RF::setRegistryValue(key, "TabIndex", REG_SZ, "2"), ERROR_SUCCESS);
    RegistryFile reread;
    ASSERT_EQ(reread.load(filePath()), RegistryFile::LoadResult::Loaded);
    EXPECT_EQ(reread.value(kSettingsKey, "Blob")->data, QVariant(QByteArray("\x00\xff", 2)));
    EXPECT_EQ(reread.value(kSettingsKey, "Expand")->type, REG_EXPAND_SZ);
    EXPECT_EQ(reread.value(kSettingsKey, "Odd")->data, QVariant(QByteArray("something else")));
}

enum class Damage
{
    Text,
    Fifo,
    LinkToZero,
};

// Regression: a damaged settings file kept every setting from being saved,
// silently; a FIFO in its place blocked the start for ever, and a link to
// /dev/zero ended in std::bad_alloc.
TEST_F(RegistryTest, aDamagedFileIsMovedAsideWholeAndTheSettingsWorkAgain)
{
    const std::tuple<const char *, Damage, QByteArray> rows[] = {
        {"not our syntax", Damage::Text, "[Software\nno equals sign here\n"},
        {"random bytes", Damage::Text, QByteArray("\x8f\x03\xff\x00\x91\n\x7f", 7)},
        {"larger than allowed", Damage::Text, "; " + QByteArray(RegistryFile::kMaxFileSize, 'x') + '\n'},
        {"a FIFO", Damage::Fifo, {}},
        {"a link to /dev/zero", Damage::LinkToZero, {}}};
    const QString corrupt = filePath() + ".corrupt";
    for (const auto &[what, damage, bytes] : rows) {
        SCOPED_TRACE(what);
        QDir(QFileInfo(filePath()).absolutePath()).removeRecursively();
        QDir().mkpath(QFileInfo(filePath()).absolutePath());
        const QByteArray path = QFile::encodeName(filePath());
        if (damage == Damage::Fifo)
            ASSERT_EQ(::mkfifo(path.constData(), 0600), 0);
        else if (damage == Damage::LinkToZero)
            ASSERT_TRUE(QFile::link("/dev/zero", filePath()));
        else
            ASSERT_TRUE(TestFiles::write(filePath(), bytes));

        RegistryKey key;
        EXPECT_EQ(RF::openRegistryKey(kUser, kSettingsKey, key), ERROR_CANTREAD) << "reading moves nothing";
        EXPECT_EQ(RF::setAsideDamagedFile(kUser), corrupt);
        EXPECT_EQ(RF::setAsideDamagedFile(kUser), QString());
        struct stat info = {};
        ASSERT_EQ(::lstat(QFile::encodeName(corrupt).constData(), &info), 0);
        if (damage == Damage::Fifo)
            EXPECT_TRUE(S_ISFIFO(info.st_mode));
        else if (damage == Damage::LinkToZero)
            EXPECT_EQ(QFileInfo(corrupt).symLinkTarget(), "/dev/zero");
        else
            EXPECT_EQ(TestFiles::read(corrupt), bytes);
        ASSERT_EQ(RF::setRegistryValue(create(kSettingsKey), "TabIndex", REG_SZ, "2"), ERROR_SUCCESS);
        EXPECT_EQ(read("TabIndex"), QVariant("2"));
    }

    // A change that finds the file damaged moves it aside as well, beside the
    // one moved before.
    const QByteArray broken("[Software\nno equals sign here\n");
    ASSERT_TRUE(TestFiles::write(filePath(), broken));
    RegistryKey key;
    EXPECT_EQ(RF::createRegistryKey(kUser, kSettingsKey, key), ERROR_SUCCESS);
    EXPECT_EQ(TestFiles::read(corrupt + "-2"), broken);
    EXPECT_TRUE(QFileInfo(corrupt).isSymLink()) << "the first one stays";
}

// Regression: reading took time quadratic in the number of keys (40,000
// sections: 13 s before the window showed). How fast it is now is
// SettingsBench's to tell; this is about what the lookup tables find.
TEST_F(RegistryTest, aFileOfManyKeysIsReadWhole)
{
    QByteArray text = "[Größe\\ÄÖÜ]\nWert=sz:umlauts\n";
    for (int i = 0; i < 20000; ++i)
        text += "[Software\\Many\\Key" + QByteArray::number(i) + "]\nValue=sz:first\nVALUE=sz:last\n";
    RegistryFile file;
    ASSERT_TRUE(file.parse(text));
    EXPECT_EQ(file.subKeyNames("software\\MANY").size(), 20000);
    for (const int i : {0, 12345, 19999}) {
        const QString key = QStringLiteral("SOFTWARE\\many\\kEY%1").arg(i);
        EXPECT_EQ(file.value(key, "value")->data, QVariant("last")) << i;
        EXPECT_EQ(file.valueNames(key), QStringList{"VALUE"}) << i;
    }
    EXPECT_EQ(file.value("GRÖßE\\äöü", "wert")->data, QVariant("umlauts"));

    file.removeKey("Software\\Many\\Key5");
    EXPECT_FALSE(file.findKey({"software", "many", "key5"}));
    EXPECT_EQ(file.findKey({"software", "many", "key6"}), "Software\\Many\\Key6");
    file.setValue("software\\many\\key7", "value", {REG_SZ, "new"});
    EXPECT_EQ(file.valueNames("Software\\Many\\Key7"), QStringList{"VALUE"});
    EXPECT_EQ(file.value("Software\\Many\\Key7", "Value")->data, QVariant("new"));
}

TEST_F(RegistryTest, missingKeysAndValues)
{
    RegistryKey key;
    EXPECT_EQ(RF::openRegistryKey(kUser, kSettingsKey, key), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(key.isOpen());
    EXPECT_FALSE(QFile::exists(filePath())); // looking does not create anything

    key = create(kSettingsKey);
    QVariant untouched(7);
    EXPECT_EQ(RF::queryRegistryValue(key, "TabIndex", untouched), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(untouched, QVariant(7));
    // The same key in another root is another key.
    EXPECT_EQ(RF::openRegistryKey(RegistryRoot::HKEY_LOCAL_MACHINE, kSettingsKey, key), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryTest, deleteRemovesTheKeyAndEverythingBelow)
{
    const RegistryKey settings = create(kSettingsKey);
    for (const char *path : {"A\\B\\C", "A\\B\\D\\E", "A\\BB", "A\\C"})
        RF::setRegistryValue(create(QString::fromLatin1(path)), "v", REG_SZ, "x");
    EXPECT_EQ(RF::deleteRegistryKey(kUser, "a\\b\\"), ERROR_SUCCESS);
    for (const char *gone : {"A\\B", "A\\B\\C", "A\\B\\D", "A\\B\\D\\E"})
        EXPECT_FALSE(exists(QString::fromLatin1(gone))) << gone;
    // Siblings, including one whose name merely starts the same, stay.
    for (const char *kept : {"A", "A\\BB", "A\\C"})
        EXPECT_TRUE(exists(QString::fromLatin1(kept))) << kept;
    EXPECT_EQ(RF::deleteRegistryKey(kUser, "A\\B"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RF::deleteRegistryKey(kUser, "\\"), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(exists("A"));

    // A handle outliving its key must not bring the key back by writing to it.
    ASSERT_EQ(RF::deleteRegistryKey(kUser, "Software"), ERROR_SUCCESS);
    EXPECT_EQ(RF::setRegistryValue(settings, "TabIndex", REG_SZ, "1"), ERROR_KEY_DELETED);
    EXPECT_FALSE(exists(kSettingsKey));
}

TEST_F(RegistryTest, otherTypesAndUnfitNumbersWriteNothing)
{
    const RegistryKey key = create(kSettingsKey);
    const QByteArray before = fileBytes();
    for (const int type : std::initializer_list<int>{REG_NONE, REG_EXPAND_SZ, REG_BINARY, 7, 11, -1})
        EXPECT_EQ(RF::setRegistryValue(key, "v", type, "1"), ERROR_SUCCESS) << type;
    for (const QVariant &unfit :
         {QVariant(qlonglong(1) << 32), QVariant(qlonglong(INT32_MIN) - 1), QVariant("ten"), QVariant()})
        EXPECT_EQ(RF::setRegistryValue(key, "v", REG_DWORD, unfit), ERROR_INVALID_PARAMETER)
            << unfit.toString().toStdString();
    EXPECT_EQ(fileBytes(), before);
}

TEST_F(RegistryTest, namesMatchWithoutRegardToCase)
{
    const RegistryKey key = create(kSettingsKey);
    RF::setRegistryValue(key, "TabIndex", REG_SZ, "1");
    const RegistryKey other = create("SOFTWARE\\kelvanesoft\\SITEPINS");
    EXPECT_EQ(other.path(), "Software\\KelvaneSoft\\SitePins"); // the first spelling stays
    RF::setRegistryValue(other, "TABINDEX", REG_SZ, "2");

    EXPECT_EQ(read("tabindex", "software\\KELVANESOFT\\sitepins\\"), QVariant("2"));
    QStringList names;
    RF::enumRegistryValues(key, names);
    EXPECT_EQ(names, QStringList{"TabIndex"});
    EXPECT_EQ(RF::deleteRegistryKey(kUser, "SOFTWARE"), ERROR_SUCCESS);
    EXPECT_FALSE(exists(kSettingsKey));
}

// Regression: QSaveFile::commit() put a truncated file in place after its
// flush had failed, and reported success.
TEST_F(RegistryTest, writeFailuresAreReportedAndKeepTheOldFile)
{
    RegistryKey key = create(kSettingsKey);
    ASSERT_EQ(RF::setRegistryValue(key, "TabIndex", REG_SZ, "0"), ERROR_SUCCESS);
    const QByteArray before = fileBytes();
    // A file size limit binds root as well, unlike permission bits. Nothing
    // may print meanwhile: the test's own output could be a file too.
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    const rlimit lowered{4096, previous.rlim_max};
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &lowered);
    const int shortWrite = RF::setRegistryValue(key, "TabIndex", REG_SZ, QString(64 * 1024, u'x'));
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_NE(shortWrite, ERROR_SUCCESS);
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(read("TabIndex"), QVariant("0"));
    const QString folder = QFileInfo(filePath()).absolutePath();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 1) << "temporary files left behind";

    ASSERT_TRUE(QFile::remove(filePath()));
    ASSERT_TRUE(QDir().mkpath(filePath())); // a folder where the file should be
    EXPECT_NE(RF::setRegistryValue(key, "TabIndex", REG_SZ, "1"), ERROR_SUCCESS);
    ASSERT_TRUE(QDir(folder).removeRecursively());
    QFile blocker(folder); // a file where the folder should be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_NE(RF::createRegistryKey(kUser, kSettingsKey, key), ERROR_SUCCESS);
}

} // namespace

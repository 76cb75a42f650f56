#include "LibraryText.h"
#include "store/XMLDatabase.h"

#include <QTcpServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <sys/stat.h>

namespace {

// Libraries someone else wrote: nothing in them may reach the network or the
// user's other files, and none may take the program down.
class HostileLibraryTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_server.listen(QHostAddress::LocalHost)); }

    QString url(const QString &file) const
    {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(m_server.serverPort()).arg(file);
    }
    QString write(const QString &name, const QString &text)
    {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(LibraryText::writeFile(path, text));
        return path;
    }
    bool someoneConnected() { return m_server.waitForNewConnection(200); }

    QTemporaryDir m_dir;
    QTcpServer m_server;
    XMLDatabase m_db;
};

QString withDeclarations(const QString &declarations, const QString &name)
{
    return QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE FOLDERS [\n") + declarations +
           QStringLiteral("<!ATTLIST FOLDER TID ID #REQUIRED>\n]>\n<FOLDERS><FOLDER TID=\"T1\"><NAME>") + name +
           "</NAME><SITEPINS/><SUBFOLDERS/></FOLDER></FOLDERS>\n";
}

} // namespace

// Definitions on the network must fail the open; entities may be left out.
TEST_F(HostileLibraryTest, externalEntitiesAndDefinitionsAreNeitherReadNorFetched)
{
    const QString secret = write("secret.txt", "TOP-SECRET-CONTENT");
    const std::pair<QString, bool> cases[] = {
        {withDeclarations(QStringLiteral("<!ENTITY xxe SYSTEM \"file://%1\">\n").arg(secret), "&xxe;"), false},
        {withDeclarations(QStringLiteral("<!ENTITY web SYSTEM \"%1\">\n").arg(url("x")), "&web;"), false},
        {withDeclarations(QStringLiteral("<!ENTITY % remote SYSTEM \"%1\">\n%remote;\n").arg(url("more.dtd")), "Name"),
         true},
        {QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE FOLDERS SYSTEM \"%1\">\n<FOLDERS/>\n").arg(url("a.dtd")),
         true}};
    for (const auto &[text, mustFail] : cases) {
        const QString path = write("SitePins.xml", text);
        if (m_db.openDBValidate(path)) {
            EXPECT_FALSE(mustFail) << text.toStdString();
            EXPECT_FALSE(m_db.getTheDOM().nodeFromID("T1").selectSingleNode("NAME").text().contains("TOP-SECRET"));
            ASSERT_TRUE(m_db.getTheDOM().save(path).ok);
        }
        EXPECT_FALSE(LibraryText::readFile(path).contains("TOP-SECRET")) << text.toStdString();
        EXPECT_FALSE(someoneConnected()) << text.toStdString();
    }
}

// A pipe would block the open until someone writes to it, a device may
// never end: neither is a definition file.
TEST_F(HostileLibraryTest, aDefinitionThatIsNoFileFailsTheOpenAtOnce)
{
    const QString pipe = m_dir.filePath("pipe.dtd");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const QString &definition : QStringList{pipe, "/dev/zero", "file:///dev/zero", "/dev/stdin", m_dir.path()}) {
        const QString path = write("SitePins.xml", QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE FOLDERS SYSTEM "
                                                                  "\"%1\">\n<FOLDERS/>\n")
                                                       .arg(definition));
        auto open = std::async(std::launch::async, [path] { return XMLDatabase().openDBValidate(path); });
        if (open.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ADD_FAILURE() << "the open is stuck on " << definition.toStdString();
            QFile writer(pipe); // lets it go, so the test can end
            writer.open(QIODevice::WriteOnly);
        }
        EXPECT_FALSE(open.get()) << definition.toStdString();
    }
}

// Exponential entity expansion and very deep nesting.
TEST_F(HostileLibraryTest, swollenDocumentsFailOrStayBoundedAndDoNotCrash)
{
    QString declarations = "<!ENTITY lol0 \"lollollollollollollollollollol\">\n";
    for (int level = 1; level <= 9; ++level)
        declarations += QStringLiteral("<!ENTITY lol%1 \"%2\">\n")
                            .arg(level)
                            .arg(QStringLiteral("&lol%1;").arg(level - 1).repeated(10));
    if (m_db.openDBValidate(write("SitePins.xml", withDeclarations(declarations, "&lol9;")))) {
        EXPECT_LT(m_db.getTheDOM().nodeFromID("T1").selectSingleNode("NAME").text().size(), 10'000'000);
    }
    const QString deep =
        QStringLiteral("<FOLDER><SUBFOLDERS>").repeated(5000) + QStringLiteral("</SUBFOLDERS></FOLDER>").repeated(5000);
    if (m_db.openDBValidate(write("Deep.xml", LibraryText::document(deep)))) {
        EXPECT_GT(m_db.getTheDOM().documentElement().countElementsByTagName("FOLDER"), 0);
    }
}

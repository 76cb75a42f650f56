#include "LibraryText.h"
#include "store/XMLDatabase.h"

#include <QTcpServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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
           QStringLiteral("</NAME><SITEPINS/><SUBFOLDERS/></FOLDER></FOLDERS>\n");
}

} // namespace

TEST_F(HostileLibraryTest, externalEntityNamingALocalFileIsNotRead)
{
    write("secret.txt", "TOP-SECRET-CONTENT");
    const QString path =
        write("SitePins.xml",
              withDeclarations(QStringLiteral("<!ENTITY xxe SYSTEM \"file://%1\">\n").arg(m_dir.filePath("secret.txt")),
                               "&xxe;"));
    if (m_db.openDBValidate(path)) {
        EXPECT_FALSE(m_db.getTheDOM().nodeFromID("T1").selectSingleNode("NAME").text().contains("TOP-SECRET"));
        ASSERT_TRUE(m_db.getTheDOM().save(path).ok);
    }
    EXPECT_FALSE(LibraryText::readFile(path).contains("TOP-SECRET"));
}

TEST_F(HostileLibraryTest, externalEntityNamingAnAddressIsNotFetched)
{
    const QString path =
        write("SitePins.xml", withDeclarations(QStringLiteral("<!ENTITY web SYSTEM \"%1\">\n").arg(url("x")), "&web;"));
    m_db.openDBValidate(path);
    EXPECT_FALSE(someoneConnected());
}

TEST_F(HostileLibraryTest, definitionsOnTheNetworkAreNeverLoadedAndFailTheOpen)
{
    const QString external = write("External.xml", QStringLiteral("<?xml version=\"1.0\"?>\n<!DOCTYPE FOLDERS SYSTEM "
                                                                  "\"%1\">\n<FOLDERS/>\n")
                                                       .arg(url("library.dtd")));
    EXPECT_FALSE(m_db.openDBValidate(external));
    const QString parameter = write(
        "Parameter.xml",
        withDeclarations(QStringLiteral("<!ENTITY % remote SYSTEM \"%1\">\n%remote;\n").arg(url("more.dtd")), "Name"));
    EXPECT_FALSE(m_db.openDBValidate(parameter));
    EXPECT_FALSE(someoneConnected());
}

TEST_F(HostileLibraryTest, exponentialEntityExpansionFailsOrStaysBounded)
{
    QString declarations = QStringLiteral("<!ENTITY lol0 \"lollollollollollollollollollol\">\n");
    for (int level = 1; level <= 9; ++level)
        declarations += QStringLiteral("<!ENTITY lol%1 \"%2\">\n")
                            .arg(level)
                            .arg(QStringLiteral("&lol%1;").arg(level - 1).repeated(10));
    const QString path = write("SitePins.xml", withDeclarations(declarations, "&lol9;"));
    if (m_db.openDBValidate(path)) {
        const XmlNode name = m_db.getTheDOM().nodeFromID("T1").selectSingleNode("NAME");
        EXPECT_LT(name.text().size(), 10'000'000);
    }
}

TEST_F(HostileLibraryTest, deeplyNestedFoldersDoNotCrash)
{
    QString body;
    for (int depth = 0; depth < 5000; ++depth)
        body += QStringLiteral("<FOLDER><SUBFOLDERS>");
    for (int depth = 0; depth < 5000; ++depth)
        body += QStringLiteral("</SUBFOLDERS></FOLDER>");
    const QString path = write("SitePins.xml", LibraryText::document(body));
    if (m_db.openDBValidate(path)) {
        EXPECT_GT(m_db.getTheDOM().documentElement().countElementsByTagName("FOLDER"), 0);
    }
}

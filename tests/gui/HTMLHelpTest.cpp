#include "help/HTMLHelp.h"
#include "QtPrinters.h"
#include "ScriptedDialogs.h"
#include "help/HtmlHelpApi.h"
#include "platform/InstalledComponents.h"
#include "platform/RegistryFunctions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QWhatsThis>

#include <gtest/gtest.h>

namespace {

const QString kNewline = QStringLiteral("\n");
const QString kMissingTail = QStringLiteral("Please make sure the correct path and file name have been specified.");

// Stands in for the viewer: remembers every command it is given.
class RecordingViewer : public HtmlHelpApi
{
public:
    struct Call
    {
        QWidget *owner;
        QString file;
        int command;
        HelpCommandData data;
    };
    static constexpr WId kWindowId = 4242;

    WId HtmlHelpA(QWidget *owner, const QString &file, int command, const HelpCommandData &data) override
    {
        calls.push_back({owner, file, command, data});
        return kWindowId;
    }
    std::vector<Call> calls;
};

class HTMLHelpTest : public ::testing::Test
{
protected:
    void SetUp() override { qputenv("XDG_CONFIG_HOME", m_config.path().toUtf8()); }

    HTMLHelp help() { return HTMLHelp({&m_dialogs, &m_viewer, m_program.path(), m_versions}); }

    static QString makeFile(const QTemporaryDir &folder, const QString &name)
    {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return file.fileName();
    }

    // A component registered under its class key, in a file reporting `version`.
    void installComponent(const char *classKey, const QString &version)
    {
        const QString path = makeFile(m_other, QString::fromLatin1(classKey).section('{', 1, 1).left(8));
        RegistryKey key;
        RegistryFunctions::createRegistryKey(RegistryRoot::HKEY_CLASSES_ROOT, QString::fromLatin1(classKey), key);
        RegistryFunctions::setRegistryValue(key, QString(), REG_SZ, path);
        m_versions.addFile(path, version);
    }

    // "icon: text" of each message; each carries the class's title and an OK button.
    QStringList messages() const
    {
        QStringList shown;
        for (const ScriptedDialogs::Shown &message : m_dialogs.shown()) {
            EXPECT_EQ(message.request.title, "HTML Help Class");
            EXPECT_EQ(message.request.buttons, MessageButtons::Ok);
            shown << QStringLiteral("%1: %2").arg(int(message.request.icon)).arg(message.request.text);
        }
        return shown;
    }
    static QString shown(MessageIcon icon, const QString &text)
    {
        return QStringLiteral("%1: %2").arg(int(icon)).arg(text);
    }

    QTemporaryDir m_config;
    QTemporaryDir m_program;
    QTemporaryDir m_other;
    ScriptedDialogs m_dialogs;
    RecordingViewer m_viewer;
    FileVersionInfo m_versions;
};

} // namespace

TEST_F(HTMLHelpTest, opensOnlyAnExistingFileEndingInChm)
{
    const QString upper = makeFile(m_program, "Guide.CHM");
    const QString lower = makeFile(m_program, "guide.chm");
    const QString oldStyle = makeFile(m_program, "Guide.hlp");
    const QString missing = m_program.filePath("Missing.chm");
    HTMLHelp help = this->help();

    for (const QString &file : {upper, lower, oldStyle, missing}) {
        help.setCHMFile(file);
        help.HHDisplayContents();
    }
    ASSERT_EQ(m_viewer.calls.size(), 2u);
    EXPECT_EQ(m_viewer.calls[0].file, upper);
    EXPECT_EQ(m_viewer.calls[1].file, lower);
    EXPECT_EQ(messages(), QStringList({shown(MessageIcon::Exclamation, oldStyle + " is not a valid HTML Help file."),
                                       shown(MessageIcon::Exclamation,
                                             "The file " + missing + " does not exist." + kNewline + kMissingTail)}));
    EXPECT_EQ(help.HHWndHandle(), RecordingViewer::kWindowId);
}

TEST_F(HTMLHelpTest, findsABareNameWhereItIsRegisteredElseBesideTheProgram)
{
    const QString registered = makeFile(m_other, "Registered.chm");
    makeFile(m_program, "Registered.chm");
    const QString beside = makeFile(m_program, "Beside.chm");
    HTMLHelp help = this->help();
    help.HHRegister(registered);
    ASSERT_TRUE(m_dialogs.shown().empty());

    for (const char *name : {"Registered.chm", "Beside.chm"}) {
        help.setCHMFile(QString::fromLatin1(name));
        help.HHDisplayContents();
    }
    ASSERT_EQ(m_viewer.calls.size(), 2u);
    EXPECT_EQ(m_viewer.calls[0].file, registered);
    EXPECT_EQ(m_viewer.calls[1].file, beside);
    EXPECT_EQ(help.CHMFile(), beside) << "the name is completed into the full path";
}

TEST_F(HTMLHelpTest, appendsAWindowTypeUnlessItIsBlank)
{
    const QString file = makeFile(m_program, "Guide.chm");
    HTMLHelp help = this->help();
    help.setCHMFile(file);
    for (const char *window : {"   ", "", "main"}) {
        help.setHHWindow(QString::fromLatin1(window));
        help.HHDisplayContents();
    }
    ASSERT_EQ(m_viewer.calls.size(), 3u);
    EXPECT_EQ(m_viewer.calls[0].file, file);
    EXPECT_EQ(m_viewer.calls[1].file, file);
    EXPECT_EQ(m_viewer.calls[2].file, file + ">main");
}

TEST_F(HTMLHelpTest, registersAndUnregistersHelpFilesWithTheirMessages)
{
    const QString file = makeFile(m_other, "Guide.chm");
    const QString missing = m_other.filePath("Gone.chm");
    HTMLHelp help = this->help();

    help.HHRegister(QString());
    help.HHRegister(file);
    help.HHCheckRegistry("Guide.chm");
    EXPECT_TRUE(help.HHRegFileExists());
    EXPECT_EQ(help.HHRegFileName(), "Guide.chm");
    EXPECT_EQ(help.HHRegFilePath(), QDir(m_other.path()).absolutePath());
    EXPECT_EQ(
        RegistryFunctions::getRegistryValue(RegistryRoot::HKEY_LOCAL_MACHINE, HTMLHelp::kHelpFilesKey, "Guide.chm"),
        QVariant(QDir(m_other.path()).absolutePath()));

    help.HHRegister(file);
    help.HHRegister("Other.chm");
    help.HHRegister(missing);
    help.HHUnRegister(file);
    help.HHUnRegister(file);
    help.HHCheckRegistry(file);
    EXPECT_FALSE(help.HHRegFileExists());
    EXPECT_EQ(
        messages(),
        QStringList(
            {shown(MessageIcon::Information, "The file " + file +
                                                 " is already registered.  HHRegister will not be run as no "
                                                 "action need be taken."),
             shown(MessageIcon::Exclamation, "Cannot register Other.chm without having a supplied path.\""),
             shown(MessageIcon::Exclamation, "The file " + missing + " does not exist." + kNewline + kMissingTail),
             shown(MessageIcon::Information, "The file " + file +
                                                 " is not registered.  HHUnRegister will not be run as no "
                                                 "action need be taken.")}));
}

TEST_F(HTMLHelpTest, verifiesMinimumReleasesAtTheEndsOfBothCodeRanges)
{
    struct Case
    {
        const char *viewer, *browser;
        int viewerCode, browserCode;
        bool met;
    };
    const Case cases[] = {
        {"4.72.7290.00", "4.70.1155.0000", 16, 256, true},  {"4.72.7290.00", "4.70.1155.0000", 26, 256, false},
        {"4.72.7290.00", "4.70.1155.0000", 16, 275, false}, {"4.74.8702.00", "5.50.3825.1300", 26, 275, true},
        {"4.74.8702.00", "5.50.3825.1300", 15, 275, false}, {"4.74.8702.00", "5.50.3825.1300", 27, 275, false},
        {"4.74.8702.00", "5.50.3825.1300", 26, 255, false}, {"4.74.8702.00", "5.50.3825.1300", 26, 276, false},
        {"4.72.7290", "4.70.1155", 16, 256, true},          {"4.72.729", "4.70.1155", 16, 256, false},
    };
    for (const Case &c : cases) {
        m_versions = FileVersionInfo();
        installComponent(InstalledComponents::kViewerClassKey, QString::fromLatin1(c.viewer));
        installComponent(InstalledComponents::kBrowserClassKey, QString::fromLatin1(c.browser));
        HTMLHelp help = this->help();
        EXPECT_EQ(help.HHVerifyMinConfig(c.viewerCode, c.browserCode), c.met)
            << c.viewer << " " << c.viewerCode << ", " << c.browser << " " << c.browserCode;
        EXPECT_EQ(help.HHVersion(), c.viewer) << "a code out of range leaves the installed version alone";
    }
    EXPECT_TRUE(m_dialogs.shown().empty());
}

TEST_F(HTMLHelpTest, namesKnownReleasesAndCallsTheRestUnknown)
{
    struct Case
    {
        const char *viewer, *viewerName, *browser, *browserName;
    };
    const Case cases[] = {
        {"4.74.8702.00", "1.3", "5.00.2919.6307", "5.01"},
        {"4.72.7290.00", "1.0", "4.70.1300.0000", "3.02"},
        {"4.74.8702.0", "unknown", "5.00.2919.630", "unknown"},
        {"1.2.2", "unknown", "6.4.2", "unknown"},
    };
    for (const Case &c : cases) {
        m_versions = FileVersionInfo();
        installComponent(InstalledComponents::kViewerClassKey, QString::fromLatin1(c.viewer));
        installComponent(InstalledComponents::kBrowserClassKey, QString::fromLatin1(c.browser));
        HTMLHelp help = this->help();
        EXPECT_EQ(help.HHFriendlyName(), c.viewerName) << c.viewer;
        EXPECT_EQ(help.IEFriendlyName(), c.browserName) << c.browser;
    }
}

TEST_F(HTMLHelpTest, saysWhenAComponentIsNotRegisteredOrNotWhereRegistered)
{
    HTMLHelp unregistered = help();
    EXPECT_EQ(unregistered.HHVersion(), "");
    EXPECT_EQ(unregistered.IEVersion(), "");
    EXPECT_EQ(unregistered.HHVersion(), "") << "found out once";
    EXPECT_FALSE(unregistered.HHInstalled());

    installComponent(InstalledComponents::kViewerClassKey, "4.74.8702.00");
    installComponent(InstalledComponents::kBrowserClassKey, "5.00.2919.6307");
    QDir(m_other.path()).removeRecursively();
    HTMLHelp moved = help();
    EXPECT_EQ(moved.HHFriendlyName(), "unknown");
    EXPECT_EQ(moved.IEFriendlyName(), "unknown");

    EXPECT_EQ(
        messages(),
        QStringList(
            {shown(MessageIcon::Critical, "Hhctrl.ocx is not registered.  Please install HTML Help."),
             shown(MessageIcon::Critical, "Shdocvw.dll is not registered.  Please install Internet Explorer."),
             shown(MessageIcon::Critical, "Hhctrl.ocx is not in its registered location.  Please reinstall HTML Help."),
             shown(MessageIcon::Critical, "Internet Explorer is not in its registered location.  "
                                          "Please reinstall Internet Explorer.")}));
}

// What the program registers at its start: itself as the viewer, reporting
// its own version, and Qt as the browser component.
TEST_F(HTMLHelpTest, theProgramsComponentsReportTheirVersions)
{
    ASSERT_TRUE(InstalledComponents::registerComponents(InstalledComponents::viewer(), InstalledComponents::browser()));
    HTMLHelp help({&m_dialogs, &m_viewer, m_program.path(), InstalledComponents::fileVersions()});
    EXPECT_TRUE(help.HHInstalled());
    EXPECT_EQ(help.HHVersion(), SITEPINS_VERSION);
    EXPECT_EQ(help.IEVersion(), qVersion());
    EXPECT_TRUE(m_dialogs.shown().empty());
}

TEST_F(HTMLHelpTest, issuesEachViewerCommandWithItsData)
{
    const QString file = makeFile(m_program, "Guide.chm");
    QWidget caller;
    HTMLHelp help = this->help();
    help.setCHMFile(file);
    help.setHHTopicURL("menu-file.htm");
    help.setHHTopicID(1070);
    help.setHHKeyword("drag");
    help.setHHALink("Dialogs");
    help.setHHMsgText("Nothing there");
    help.setHHMsgTitle("Lookup");
    help.setHHDefaultURL("welcome.htm");
    help.setHHPopupText("Literal");
    help.setHHPopupTextBold(true);
    help.setHHPopupTextUnderline(true);
    help.setHHPopupCustomColors(true);
    help.setHHPopupCustomTextColor(0x0000ff);

    help.HHDisplayContents(&caller);
    help.HHDisplayIndex(&caller);
    help.HHDisplaySearch(&caller);
    help.HHDisplayTopicURL(&caller);
    help.setHHShowOnTop(true);
    help.HHDisplayTopicID(&caller);
    help.HHDisplayKeyword(&caller);
    help.HHDisplayALink(&caller);
    help.HHDisplayPopup(&caller);
    help.setHHPopupType(HTMLHelp::kPopupFromFile);
    help.setHHPopupFile("popups.txt");
    help.setHHPopupID(2010);
    help.HHDisplayPopup(&caller);
    help.HHClose();

    std::vector<int> commands;
    for (const RecordingViewer::Call &call : m_viewer.calls)
        commands.push_back(call.command);
    ASSERT_EQ(commands, (std::vector<int>{1, 2, 3, 0, 15, 0, 13, 19, 14, 14, 18}));
    const auto &calls = m_viewer.calls;
    EXPECT_EQ(calls[0].owner, nullptr) << "not on top: no owner";
    EXPECT_EQ(calls[4].owner, &caller);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(calls[0].data));
    EXPECT_EQ(std::get<QString>(calls[3].data), "menu-file.htm");
    EXPECT_EQ(std::get<qint32>(calls[4].data), 1070);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(calls[5].data)) << "the keyword lookup opens the viewer first";
    const auto &keyword = std::get<HelpLinkRecord>(calls[6].data);
    EXPECT_EQ(QStringList({keyword.keywords, keyword.msgText, keyword.msgTitle, keyword.url}),
              QStringList({"drag", "Nothing there", "Lookup", "welcome.htm"}));
    EXPECT_EQ(std::get<HelpLinkRecord>(calls[7].data).keywords, "Dialogs");

    const auto &literal = std::get<HelpPopupRecord>(calls[8].data);
    EXPECT_EQ(calls[8].file, "") << "literal text needs no file";
    EXPECT_EQ(calls[8].owner, &caller);
    EXPECT_EQ(literal.text, "Literal");
    EXPECT_EQ(literal.font, "Arial, 10, ascii, Bold Underline");
    EXPECT_EQ(literal.textColor, 0x0000ff);
    const auto &fromFile = std::get<HelpPopupRecord>(calls[9].data);
    EXPECT_EQ(calls[9].file, file + "::/popups.txt");
    EXPECT_EQ(fromFile.idString, 2010);
    EXPECT_EQ(fromFile.text, "");

    EXPECT_EQ(calls[10].file, "");
    EXPECT_EQ(calls[10].owner, nullptr);
    EXPECT_EQ(help.HHWndHandle(), 0u) << "the closed viewer's handle is gone";
    EXPECT_TRUE(m_dialogs.shown().empty());
}

TEST_F(HTMLHelpTest, putsTheCallingWindowIntoWhatsThisMode)
{
    QWidget caller;
    caller.show();
    help().HHInvokeWhatsThisHelp(&caller);
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
    QWhatsThis::leaveWhatsThisMode();
}

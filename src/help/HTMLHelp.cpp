#include "help/HTMLHelp.h"

#include "help/HtmlHelpApi.h"
#include "help/logic/HelpReleases.h"
#include "platform/InstalledComponents.h"
#include "platform/RegistryFunctions.h"

#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QWhatsThis>

namespace {

const QLatin1Char kSeparator('/');

QString fileNamePart(const QString &path)
{
    return path.section(kSeparator, -1);
}

bool hasFolderPart(const QString &path)
{
    return path.contains(kSeparator);
}

QString joinPath(const QString &folder, const QString &name)
{
    return folder.endsWith(kSeparator) ? folder + name : folder + kSeparator + name;
}

} // namespace

HTMLHelp::HTMLHelp(Services services)
    : m_services(std::move(services))
{
}

void HTMLHelp::message(const QString &text, MessageIcon icon) const
{
    if (m_services.dialogs)
        m_services.dialogs->showMessage(nullptr, {text, QString::fromLatin1(kMessageTitle), MessageButtons::Ok, icon});
}

std::optional<QString> HTMLHelp::checkedTarget()
{
    if (m_CHMFile.right(3).compare(QLatin1String("chm"), Qt::CaseInsensitive) != 0) {
        message(m_CHMFile + QStringLiteral(" is not a valid HTML Help file."), MessageIcon::Exclamation);
        return std::nullopt;
    }
    if (!EnsureFileExists(m_CHMFile))
        return std::nullopt;
    const QString window = m_HHWindow.trimmed();
    return window.isEmpty() ? m_CHMFile : m_CHMFile + QLatin1Char('>') + window;
}

bool HTMLHelp::display(QWidget *callingForm, int command, const HelpCommandData &data)
{
    const std::optional<QString> target = checkedTarget();
    if (!target || !m_services.viewer)
        return false;
    QWidget *owner = m_HHShowOnTop ? callingForm : nullptr;
    m_HHWndHandle = m_services.viewer->HtmlHelpA(owner, *target, command, data);
    return true;
}

HelpLinkRecord HTMLHelp::linkRecord(const QString &keywords) const
{
    HelpLinkRecord record;
    record.keywords = keywords;
    record.msgText = m_HHMsgText;
    record.msgTitle = m_HHMsgTitle;
    record.url = m_HHDefaultURL;
    record.window = m_HHWindow.trimmed();
    record.indicateFailure = true;
    return record;
}

void HTMLHelp::HHDisplayContents(QWidget *CallingForm)
{
    display(CallingForm, HH_DISPLAY_TOC, std::monostate());
}

void HTMLHelp::HHDisplayIndex(QWidget *CallingForm)
{
    display(CallingForm, HH_DISPLAY_INDEX, std::monostate());
}

void HTMLHelp::HHDisplaySearch(QWidget *CallingForm)
{
    display(CallingForm, HH_DISPLAY_SEARCH, HelpSearchQuery());
}

void HTMLHelp::HHDisplayTopicURL(QWidget *CallingForm)
{
    display(CallingForm, HH_DISPLAY_TOPIC, m_HHTopicURL);
}

void HTMLHelp::HHDisplayTopicID(QWidget *CallingForm)
{
    display(CallingForm, HH_HELP_CONTEXT, m_HHTopicID);
}

// The lookup needs a viewer to show its result in, so one is opened first.
void HTMLHelp::HHDisplayKeyword(QWidget *CallingForm)
{
    if (!display(CallingForm, HH_DISPLAY_TOPIC, std::monostate()))
        return;
    display(CallingForm, HH_KEYWORD_LOOKUP, linkRecord(m_HHKeyword));
}

void HTMLHelp::HHDisplayALink(QWidget *CallingForm)
{
    display(CallingForm, HH_ALINK_LOOKUP, linkRecord(m_HHALink));
}

QString HTMLHelp::popupFontText() const
{
    QString styles;
    if (m_HHPopupTextBold)
        styles += QStringLiteral("Bold ");
    if (m_HHPopupTextItalic)
        styles += QStringLiteral("Italic ");
    if (m_HHPopupTextUnderline)
        styles += QStringLiteral("Underline");
    return m_HHPopupTextFont + QStringLiteral(", ") + m_HHPopupTextSize + QStringLiteral(", ascii, ") + styles;
}

// A pop-up belongs to the window it explains and runs none of the file
// checks: its text may be given literally.
void HTMLHelp::HHDisplayPopup(QWidget *CallingForm)
{
    if (!CallingForm || !m_services.viewer)
        return;
    HelpPopupRecord record;
    record.position = QCursor::pos();
    record.textColor = m_HHPopupCustomColors ? m_HHPopupCustomTextColor : m_HHPopupTextColor;
    record.backColor = m_HHPopupCustomColors ? m_HHPopupCustomBackColor : m_HHPopupBackColor;
    record.font = popupFontText();
    QString file;
    if (m_HHPopupType == kPopupFromFile) {
        record.idString = m_HHPopupID;
        file = m_HHPopupFile.contains(QLatin1String("::")) ? m_HHPopupFile
                                                           : m_CHMFile + QStringLiteral("::/") + m_HHPopupFile;
    } else {
        record.text = m_HHPopupText;
    }
    m_services.viewer->HtmlHelpA(CallingForm, file, HH_DISPLAY_TEXT_POPUP, record);
}

void HTMLHelp::HHClose()
{
    if (m_services.viewer)
        m_services.viewer->HtmlHelpA(nullptr, QString(), HH_CLOSE_ALL, std::monostate());
    m_HHWndHandle = 0;
}

void HTMLHelp::HHInvokeWhatsThisHelp(QWidget *CallingForm)
{
    if (!CallingForm)
        return;
    CallingForm->activateWindow();
    QWhatsThis::enterWhatsThisMode();
}

// A window's "system menu" is the menu it names SystemMenu; entries carry
// their number in the property "menuId".
void HTMLHelp::HHDeleteJumpURLSysMenu(WId HH_hWnd)
{
    QWidget *window = HH_hWnd ? QWidget::find(HH_hWnd) : nullptr;
    if (!window)
        return;
    for (QMenu *menu : window->findChildren<QMenu *>(QStringLiteral("SystemMenu"))) {
        for (QAction *entry : menu->actions()) {
            if (entry->property("menuId").toInt() == kJumpUrlMenuId) {
                menu->removeAction(entry);
                delete entry;
            }
        }
    }
}

bool HTMLHelp::EnsureFileExists(QString &FileToFind)
{
    if (!hasFolderPart(FileToFind)) {
        HHCheckRegistry(FileToFind);
        const QString folder = m_HHRegFileExists ? m_HHRegFilePath : m_services.programFolder;
        FileToFind = joinPath(folder, FileToFind);
    }
    if (QFileInfo(FileToFind).isFile())
        return true;
    message(QStringLiteral("The file ") + FileToFind + QStringLiteral(" does not exist.") + QLatin1Char('\n') +
                QStringLiteral("Please make sure the correct path and file name have been specified."),
            MessageIcon::Exclamation);
    return false;
}

void HTMLHelp::HHCheckRegistry(const QString &FileToCheck)
{
    m_HHRegFileName.clear();
    m_HHRegFilePath.clear();
    m_HHRegFileExists = false;
    const QString name = fileNamePart(FileToCheck);
    RegistryKey key;
    if (name.isEmpty() || RegistryFunctions::openRegistryKey(RegistryRoot::HKEY_LOCAL_MACHINE,
                                                             QString::fromLatin1(kHelpFilesKey), key) != ERROR_SUCCESS)
        return;
    QStringList names;
    RegistryFunctions::enumRegistryValues(key, names);
    for (const QString &valueName : std::as_const(names)) {
        if (valueName.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        QVariant folder;
        if (RegistryFunctions::queryRegistryValue(key, valueName, folder) == ERROR_SUCCESS) {
            m_HHRegFileName = valueName;
            m_HHRegFilePath = folder.toString();
            m_HHRegFileExists = true;
        }
        break;
    }
    RegistryFunctions::closeRegistryKey(key);
}

void HTMLHelp::HHRegister(const QString &FileToRegister)
{
    if (FileToRegister.isEmpty())
        return;
    HHCheckRegistry(FileToRegister);
    if (m_HHRegFileExists) {
        message(QStringLiteral("The file ") + FileToRegister + QStringLiteral(" is already registered.  ") +
                    QStringLiteral("HHRegister will not be run as no action need be taken."),
                MessageIcon::Information);
        return;
    }
    if (!hasFolderPart(FileToRegister)) {
        message(QStringLiteral("Cannot register ") + FileToRegister +
                    QStringLiteral(" without having a supplied path.") + QLatin1Char('"'),
                MessageIcon::Exclamation);
        return;
    }
    QString file = FileToRegister;
    if (!EnsureFileExists(file))
        return;
    RegistryKey key;
    int result =
        RegistryFunctions::createRegistryKey(RegistryRoot::HKEY_LOCAL_MACHINE, QString::fromLatin1(kHelpFilesKey), key);
    if (result == ERROR_SUCCESS) {
        result = RegistryFunctions::setRegistryValue(key, fileNamePart(file), REG_SZ,
                                                     QFileInfo(file).absoluteDir().absolutePath());
        RegistryFunctions::closeRegistryKey(key);
    }
    if (result != ERROR_SUCCESS)
        message(QStringLiteral("HTML Help Class: HHRegister Error"), MessageIcon::Exclamation);
}

void HTMLHelp::HHUnRegister(const QString &FileToUnRegister)
{
    if (FileToUnRegister.isEmpty())
        return;
    HHCheckRegistry(FileToUnRegister);
    if (!m_HHRegFileExists) {
        message(QStringLiteral("The file ") + FileToUnRegister + QStringLiteral(" is not registered.  ") +
                    QStringLiteral("HHUnRegister will not be run as no action need be taken."),
                MessageIcon::Information);
        return;
    }
    RegistryKey key;
    int result =
        RegistryFunctions::openRegistryKey(RegistryRoot::HKEY_LOCAL_MACHINE, QString::fromLatin1(kHelpFilesKey), key);
    if (result == ERROR_SUCCESS) {
        result = RegistryFunctions::deleteRegistryValue(key, m_HHRegFileName);
        RegistryFunctions::closeRegistryKey(key);
    }
    if (result != ERROR_SUCCESS) {
        message(QStringLiteral("HTML Help Class: HHUnRegister Error"), MessageIcon::Exclamation);
        return;
    }
    m_HHRegFileExists = false;
}

bool HTMLHelp::HHInstalled() const
{
    RegistryKey key;
    const bool installed = RegistryFunctions::openRegistryKey(
                               RegistryRoot::HKEY_LOCAL_MACHINE,
                               QString::fromLatin1(InstalledComponents::kViewerTypeLibraryKey), key) == ERROR_SUCCESS;
    RegistryFunctions::closeRegistryKey(key);
    return installed;
}

QString HTMLHelp::componentVersion(const char *classKey, const QString &notRegistered, const QString &notInPlace)
{
    const QVariant path =
        RegistryFunctions::getRegistryValue(RegistryRoot::HKEY_CLASSES_ROOT, QString::fromLatin1(classKey), QString());
    if (!path.isValid()) {
        message(notRegistered, MessageIcon::Critical);
        return {};
    }
    if (!QFileInfo(path.toString()).isFile()) {
        message(notInPlace, MessageIcon::Critical);
        return {};
    }
    return m_services.versions.fileVersion(path.toString());
}

QString HTMLHelp::HHVersion()
{
    if (!m_HHVersion)
        m_HHVersion = componentVersion(InstalledComponents::kViewerClassKey,
                                       QStringLiteral("Hhctrl.ocx is not registered.  ") +
                                           QStringLiteral("Please install HTML Help."),
                                       QStringLiteral("Hhctrl.ocx is not in its registered location.  ") +
                                           QStringLiteral("Please reinstall HTML Help."));
    return *m_HHVersion;
}

QString HTMLHelp::IEVersion()
{
    if (!m_IEVersion)
        m_IEVersion = componentVersion(InstalledComponents::kBrowserClassKey,
                                       QStringLiteral("Shdocvw.dll is not registered.  ") +
                                           QStringLiteral("Please install Internet Explorer."),
                                       QStringLiteral("Internet Explorer is not in its registered location.  ") +
                                           QStringLiteral("Please reinstall Internet Explorer."));
    return *m_IEVersion;
}

QString HTMLHelp::HHFriendlyName()
{
    if (!m_HHFriendlyName)
        m_HHFriendlyName = HelpReleases::viewerFriendlyName(HHVersion());
    return *m_HHFriendlyName;
}

QString HTMLHelp::IEFriendlyName()
{
    if (!m_IEFriendlyName)
        m_IEFriendlyName = HelpReleases::browserFriendlyName(IEVersion());
    return *m_IEFriendlyName;
}

void HTMLHelp::refreshFriendlyNames()
{
    m_HHFriendlyName.reset();
    m_IEFriendlyName.reset();
    HHFriendlyName();
    IEFriendlyName();
}

// Versions compare as text. A code outside its range can never be met; the
// installed version is left as it is, so that HHVersion stays true.
bool HTMLHelp::HHVerifyMinConfig(qint32 MinHHVersion, qint32 MinIEVersion)
{
    const auto atLeast = [](const QString &installed, const std::optional<QString> &minimum) {
        return minimum && installed.compare(*minimum, Qt::CaseInsensitive) >= 0;
    };
    const bool viewer = atLeast(HHVersion(), HelpReleases::minimumViewerVersion(MinHHVersion));
    const bool browser = atLeast(IEVersion(), HelpReleases::minimumBrowserVersion(MinIEVersion));
    refreshFriendlyNames();
    return viewer && browser;
}

QString HTMLHelp::HHSetHelpFile(qint16 intSelHelpFile) const
{
    switch (intSelHelpFile) {
    case 0:
        return QStringLiteral("/Library.chm");
    case 1:
        return QStringLiteral("Library.txt");
    default:
        return {};
    }
}

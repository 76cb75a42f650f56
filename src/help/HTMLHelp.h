#pragma once

#include "help/logic/HelpCommand.h"
#include "platform/FileVersionInfo.h"
#include "platform/ui/UserDialogs.h"

#include <QString>
#include <QWidget>

#include <optional>

class HtmlHelpApi;

// Access to the help viewer: checks and finds the help file, issues the
// viewer's commands, registers help files, and reports the versions of the
// viewer and of the browser component. Its messages carry the title
// "HTML Help Class".
class HTMLHelp
{
public:
    static constexpr const char *kMessageTitle = "HTML Help Class";
    static constexpr const char *kHelpFilesKey = "Software\\Microsoft\\Windows\\HTML Help";
    // HHPopupType: the literal HHPopupText, or text HHPopupID of HHPopupFile.
    static constexpr qint32 kPopupText = 0;
    static constexpr qint32 kPopupFromFile = 1;
    // What a window's context-help command and the viewer's "Jump to URL"
    // entry have always been numbered.
    static constexpr int kSysCommandMessage = 274;
    static constexpr int kContextHelpCommand = 61824;
    static constexpr int kJumpUrlMenuId = 61439;

    struct Services
    {
        UserDialogs *dialogs = nullptr;
        HtmlHelpApi *viewer = nullptr;
        // Where bare help file names are looked for when not registered.
        QString programFolder;
        FileVersionInfo versions;
    };

    explicit HTMLHelp(Services services);

    QString CHMFile() const { return m_CHMFile; }
    void setCHMFile(const QString &file) { m_CHMFile = file; }
    QString HHWindow() const { return m_HHWindow; }
    void setHHWindow(const QString &window) { m_HHWindow = window; }
    QString HHTopicURL() const { return m_HHTopicURL; }
    void setHHTopicURL(const QString &url) { m_HHTopicURL = url; }
    qint32 HHTopicID() const { return m_HHTopicID; }
    void setHHTopicID(qint32 id) { m_HHTopicID = id; }
    QString HHKeyword() const { return m_HHKeyword; }
    void setHHKeyword(const QString &keyword) { m_HHKeyword = keyword; }
    QString HHALink() const { return m_HHALink; }
    void setHHALink(const QString &link) { m_HHALink = link; }
    QString HHMsgTitle() const { return m_HHMsgTitle; }
    void setHHMsgTitle(const QString &title) { m_HHMsgTitle = title; }
    QString HHMsgText() const { return m_HHMsgText; }
    void setHHMsgText(const QString &text) { m_HHMsgText = text; }
    QString HHDefaultURL() const { return m_HHDefaultURL; }
    void setHHDefaultURL(const QString &url) { m_HHDefaultURL = url; }
    bool HHShowOnTop() const { return m_HHShowOnTop; }
    void setHHShowOnTop(bool onTop) { m_HHShowOnTop = onTop; }

    void setHHPopupFile(const QString &file) { m_HHPopupFile = file; }
    void setHHPopupID(qint32 id) { m_HHPopupID = id; }
    void setHHPopupText(const QString &text) { m_HHPopupText = text; }
    void setHHPopupType(qint32 type) { m_HHPopupType = type; }
    void setHHPopupTextColor(qint32 color) { m_HHPopupTextColor = color; }
    void setHHPopupBackColor(qint32 color) { m_HHPopupBackColor = color; }
    void setHHPopupCustomTextColor(qint32 color) { m_HHPopupCustomTextColor = color; }
    void setHHPopupCustomBackColor(qint32 color) { m_HHPopupCustomBackColor = color; }
    bool HHPopupCustomColors() const { return m_HHPopupCustomColors; }
    void setHHPopupCustomColors(bool custom) { m_HHPopupCustomColors = custom; }
    void setHHPopupTextFont(const QString &font) { m_HHPopupTextFont = font; }
    void setHHPopupTextSize(const QString &size) { m_HHPopupTextSize = size; }
    void setHHPopupTextBold(bool bold) { m_HHPopupTextBold = bold; }
    void setHHPopupTextItalic(bool italic) { m_HHPopupTextItalic = italic; }
    void setHHPopupTextUnderline(bool underline) { m_HHPopupTextUnderline = underline; }

    QString HHRegFileName() const { return m_HHRegFileName; }
    QString HHRegFilePath() const { return m_HHRegFilePath; }
    bool HHRegFileExists() const { return m_HHRegFileExists; }
    bool HHInstalled() const;
    QString HHVersion();
    QString IEVersion();
    QString HHFriendlyName();
    QString IEFriendlyName();
    WId HHWndHandle() const { return m_HHWndHandle; }

    void HHDisplayContents(QWidget *CallingForm = nullptr);
    void HHDisplayIndex(QWidget *CallingForm = nullptr);
    void HHDisplaySearch(QWidget *CallingForm = nullptr);
    void HHDisplayTopicURL(QWidget *CallingForm = nullptr);
    void HHDisplayTopicID(QWidget *CallingForm = nullptr);
    void HHDisplayKeyword(QWidget *CallingForm = nullptr);
    void HHDisplayALink(QWidget *CallingForm = nullptr);
    void HHDisplayPopup(QWidget *CallingForm);
    void HHClose();
    void HHInvokeWhatsThisHelp(QWidget *CallingForm);
    void HHDeleteJumpURLSysMenu(WId HH_hWnd);

    bool EnsureFileExists(QString &FileToFind);
    void HHCheckRegistry(const QString &FileToCheck);
    void HHRegister(const QString &FileToRegister);
    void HHUnRegister(const QString &FileToUnRegister);
    bool HHVerifyMinConfig(qint32 MinHHVersion, qint32 MinIEVersion);
    QString HHSetHelpFile(qint16 intSelHelpFile) const;

    // The pop-up font as the viewer takes it: "face, size, ascii, styles".
    QString popupFontText() const;

private:
    // The file checks, then the command on the help file; false when a
    // check stopped it.
    bool display(QWidget *callingForm, int command, const HelpCommandData &data);
    std::optional<QString> checkedTarget();
    HelpLinkRecord linkRecord(const QString &keywords) const;
    QString componentVersion(const char *classKey, const QString &notRegistered, const QString &notInPlace);
    void refreshFriendlyNames();
    void message(const QString &text, MessageIcon icon) const;

    Services m_services;
    QString m_CHMFile;
    QString m_HHWindow;
    QString m_HHTopicURL;
    qint32 m_HHTopicID = 0;
    QString m_HHKeyword;
    QString m_HHALink;
    QString m_HHMsgTitle;
    QString m_HHMsgText;
    QString m_HHDefaultURL;
    bool m_HHShowOnTop = false;
    QString m_HHPopupFile;
    qint32 m_HHPopupID = 0;
    QString m_HHPopupText;
    qint32 m_HHPopupType = kPopupText;
    qint32 m_HHPopupTextColor = -1;
    qint32 m_HHPopupBackColor = -1;
    qint32 m_HHPopupCustomTextColor = -1;
    qint32 m_HHPopupCustomBackColor = -1;
    bool m_HHPopupCustomColors = false;
    QString m_HHPopupTextFont = QStringLiteral("Arial");
    QString m_HHPopupTextSize = QStringLiteral("10");
    bool m_HHPopupTextBold = false;
    bool m_HHPopupTextItalic = false;
    bool m_HHPopupTextUnderline = false;
    QString m_HHRegFileName;
    QString m_HHRegFilePath;
    bool m_HHRegFileExists = false;
    std::optional<QString> m_HHVersion;
    std::optional<QString> m_IEVersion;
    std::optional<QString> m_HHFriendlyName;
    std::optional<QString> m_IEFriendlyName;
    WId m_HHWndHandle = 0;
};

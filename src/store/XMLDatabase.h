#pragma once

#include "store/XmlDocument.h"

#include <QString>

// Owns the open library document and its path, opens library files, hands
// out identifiers and reads a SitePin's fields. It shows nothing: callers
// decide what to tell the user.
class XMLDatabase
{
public:
    // Identifier numbers are signed 16-bit in the file format.
    static constexpr int kMaxIdentifierNumber = 32767;

    QString getPath() const { return m_strPath; }
    void setPath(const QString &newPath) { m_strPath = newPath; }

    XmlDocument getTheDOM() const { return m_objDOM; }
    XmlDocument getTheTempDOM() const { return m_objTempDOM; }

    // Replaces the document whatever the outcome: after a failure
    // getTheDOM() is an empty document, never the previous one. Opened,
    // the library's folder is rid of what killed saves left behind.
    bool openDBValidate(const QString &path);
    // Only a successful load replaces the second document.
    bool openTempDBValidate(const QString &path);
    QString lastOpenError() const { return m_strLastOpenError; }

    // An identifier not yet used, or an empty text when the next one would
    // need a number above kMaxIdentifierNumber.
    QString getNewTID() const;
    QString getNewWID() const;
    // FOLDER or SITEPIN elements in the library, as the two above count them.
    int countElements(const QString &tagName) const;

    QString getSPAsFormattedString(const QString &id) const;
    QString getSPName(const QString &id) const;
    QString getSPAddress(const QString &id) const;
    QString getSPDescription(const QString &id) const;
    QString getSPNotes(const QString &id) const;

private:
    QString newIdentifier(const QString &tagName, QChar prefix) const;
    static int countOf(const XmlNode &root, const QString &tagName);
    QString childTextOf(const QString &id, const QString &childName) const;

    XmlDocument m_objDOM;
    XmlDocument m_objTempDOM;
    QString m_strOpenedPath;
    QString m_strPath;
    QString m_strLastOpenError;
};

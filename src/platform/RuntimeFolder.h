#pragma once

#include <QString>

// A folder for this user's sockets and lock files that no other user can
// enter: SitePins below XDG_RUNTIME_DIR when that is set and private, else
// SitePins/runtime below the user's cache folder. Every use checks it anew:
// a folder someone else made first, or a link put in its place, is refused
// rather than trusted.
class RuntimeFolder
{
public:
    static RuntimeFolder locate();
    // Creates the folder when missing and makes it private (mode 0700) when it
    // is ours; false, with the reason, when it is not a folder of this user.
    static bool makePrivate(const QString &path, QString *errorString);

    bool isValid() const { return !m_path.isEmpty(); }
    QString path() const { return m_path; }
    // Empty when there is no folder.
    QString filePath(const QString &fileName) const;
    // Why there is none; set also when a first choice was passed over.
    QString errorString() const { return m_errorString; }

private:
    QString m_path;
    QString m_errorString;
};

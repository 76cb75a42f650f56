#pragma once

#include <QString>

// A Windows Internet Shortcut: a small INI-style text file whose URL= line
// holds the address, named after the page.
class InternetShortcut
{
public:
    // A larger file is not a shortcut, whatever its name says.
    static constexpr qint64 kMaxFileSize = 64 * 1024;

    enum class Outcome
    {
        Read,
        NoAddress,
        NotAShortcut,
        Unreadable,
    };

    // The type description the desktop would give the file: "Internet
    // Shortcut" for .url, "INI file" for .ini, otherwise empty.
    static QString typeDescription(const QString &fileName);
    static bool isShortcutType(const QString &typeDescription);

    // Reads the file if its type makes it a shortcut.
    static InternetShortcut read(const QString &path);
    // The address on the last line that holds "URL=" but not "BASEURL=",
    // taken from after the first "URL=" of that line; empty when none.
    static QString addressIn(const QString &text);
    // The file's bytes as text: UTF-8 when they are valid UTF-8, otherwise
    // the Windows code page these files were written in.
    static QString decode(const QByteArray &bytes);

    Outcome outcome = Outcome::NotAShortcut;
    // The file name less its last four characters.
    QString name;
    QString address;
};

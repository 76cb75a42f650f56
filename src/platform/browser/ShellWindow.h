#pragma once

#include <QString>

// One open page of a connected browser: a tab, which is what the capture
// and close-all commands call a browser window.
struct ShellWindow
{
    // Names the tab to the backend that listed it; opaque to everyone else.
    QString id;
    // The address shown; empty when the tab shows none.
    QString locationUrl;
    // A short name for the page (the last part of the address).
    QString locationName;
    // The page's own title; may be empty.
    QString documentTitle;
    // A tab of a web browser showing a web page or a local file. The
    // browser's own pages (settings, new tab, extensions) are not.
    bool isWebBrowser = false;

    static bool isWebAddress(const QString &address);
    static QString shortNameOf(const QString &address);

    friend bool operator==(const ShellWindow &, const ShellWindow &) = default;
};

#pragma once

#include <QString>

#include <optional>

// The releases the help class knows of the help viewer and of the web
// browser component: their names by file version, and the minimum
// versions callers ask for by code.
class HelpReleases
{
public:
    static constexpr int kFirstViewerCode = 16;
    static constexpr int kLastViewerCode = 26;
    static constexpr int kFirstBrowserCode = 256;
    static constexpr int kLastBrowserCode = 275;

    // "unknown" for a version not in the table.
    static QString viewerFriendlyName(const QString &version);
    static QString browserFriendlyName(const QString &version);

    // Nothing for a code outside its range.
    static std::optional<QString> minimumViewerVersion(int code);
    static std::optional<QString> minimumBrowserVersion(int code);
};

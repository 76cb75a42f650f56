#pragma once

#include "platform/Message.h"

#include <QString>
#include <QStringList>

#include <optional>

// A page the user asked to keep as a new SitePin from the browser (its
// toolbar button or page menu entry): handed to the running program over
// the instance channel, or given to a fresh start on its command line.
// Only web pages and local files are taken, within the lengths a browser
// lists them with.
struct CapturedPage
{
    static constexpr qsizetype kMaxUrlLength = 32 * 1024;
    static constexpr qsizetype kMaxTitleLength = 1024;

    QString url;
    QString title;

    // Nothing for an address that is no web page, or is too long; a title
    // too long is cut.
    static std::optional<CapturedPage> make(const QString &url, const QString &title);
    static std::optional<CapturedPage> fromMessage(const Message &message);
    // From the program's command line: --capture-url=URL [--capture-title=TITLE].
    static std::optional<CapturedPage> fromArguments(const QStringList &arguments);

    Message toMessage() const;
    QStringList toArguments() const;

    friend bool operator==(const CapturedPage &, const CapturedPage &) = default;
};

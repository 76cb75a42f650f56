#pragma once

class QUrl;

// Hands addresses to the desktop (mail program, default web browser).
class DesktopServices
{
public:
    virtual ~DesktopServices() = default;
    virtual bool openUrl(const QUrl &url) = 0;
    // The default web browser on no page in particular.
    virtual bool openDefaultBrowser() = 0;
};

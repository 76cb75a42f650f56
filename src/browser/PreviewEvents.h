#pragma once

#include <QString>

// What the embedded browser reports while it loads a page.
class PreviewEvents
{
public:
    virtual ~PreviewEvents() = default;
    virtual void downloadBegin() = 0;
    virtual void progressChange(int progress, int maximum) = 0;
    virtual void downloadComplete() = 0;
    virtual void statusTextChange(const QString &text) = 0;
};

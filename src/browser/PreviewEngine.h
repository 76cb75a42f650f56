#pragma once

class QUrl;
class QWidget;

// The embedded browser of the preview, as the pane drives it.
class PreviewEngine
{
public:
    virtual ~PreviewEngine() = default;
    // The browser's view; it belongs to the widget the engine was made in.
    virtual QWidget *view() = 0;
    virtual void navigate(const QUrl &address) = 0;
    virtual void refresh() = 0;
    virtual void stop() = 0;
    // Silent: the page's own dialogs leave no trace at all.
    virtual void setSilent(bool silent) = 0;
};

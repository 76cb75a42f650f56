#pragma once

#include <QWebEnginePage>

class PreviewEvents;

// A page that can never put anything in front of the user: no windows of
// its own, no dialogs, no pickers, no permission prompts, and no way from a
// web page to the user's files.
class PreviewPage : public QWebEnginePage
{
    Q_OBJECT

public:
    PreviewPage(QWebEngineProfile *profile, PreviewEvents &events);

    void setSilent(bool silent) { m_silent = silent; }

protected:
    QWebEnginePage *createWindow(WebWindowType type) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList &oldFiles,
                            const QStringList &acceptedMimeTypes) override;
    void javaScriptAlert(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptPrompt(const QUrl &securityOrigin, const QString &msg, const QString &defaultValue,
                          QString *result) override;
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override;

private:
    void refuseRequests();
    void reportDialogText(const QString &text);

    PreviewEvents &m_events;
    bool m_silent = false;
};

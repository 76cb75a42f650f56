#pragma once

#include "browser/PreviewEngineLoader.h"
#include "browser/PreviewEvents.h"

#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class PreviewEngine;
class frmSitePins;

// The page preview of the displayed SitePin on the Preview tab. Its browser
// starts with the first page previewed: a blank preview needs none, so
// opening and browsing the library starts no web engine.
class PreviewPane : public QObject, private PreviewEvents
{
    Q_OBJECT

public:
    PreviewPane(frmSitePins &window, const QString &engineModule);
    ~PreviewPane() override;

    // Loads the address when auto-preview is on, otherwise blanks the page.
    void showSitePinAddress(const QString &address);
    void blank();
    // Failures of the browser are ignored: the pane shows what it can.
    void navigate(const QString &address);
    void setSilent(bool silent);
    bool isSilent() const { return m_silent; }
    QString currentAddress() const { return m_address; }
    bool isEngineStarted() const { return m_engine != nullptr; }

    void chkAutoPreview_Click(bool checked);
    void cmdPreview_Click();
    void cmdRefresh_Click();
    void cmdStop_Click();

    // The bar's value for a progress report, none when the report is to be
    // ignored.
    static std::optional<int> progressPercent(int progress, int maximum);

private:
    void downloadBegin() override;
    void progressChange(int progress, int maximum) override;
    void downloadComplete() override;
    void statusTextChange(const QString &text) override;

    PreviewEngine *startedEngine();

    frmSitePins &m_window;
    PreviewEngineLoader m_loader;
    std::unique_ptr<PreviewEngine> m_engine;
    QString m_address;
    bool m_silent = false;
};

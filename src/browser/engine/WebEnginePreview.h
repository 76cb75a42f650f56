#pragma once

#include "browser/PreviewEngine.h"

#include <QObject>
#include <QPointer>

class PreviewEvents;
class PreviewPage;
class QWebEngineProfile;
class QWebEngineView;

// A web view on a profile of its own that keeps nothing on disk, its
// loading reported as the preview expects.
class WebEnginePreview : public QObject, public PreviewEngine
{
    Q_OBJECT

public:
    WebEnginePreview(QWidget *parent, PreviewEvents &events);
    ~WebEnginePreview() override;

    QWidget *view() override;
    void navigate(const QUrl &address) override;
    void refresh() override;
    void stop() override;
    void setSilent(bool silent) override;

private:
    void reportLoading();

    PreviewEvents &m_events;
    QWebEngineProfile *m_profile = nullptr;
    PreviewPage *m_page = nullptr;
    QPointer<QWebEngineView> m_view;
};

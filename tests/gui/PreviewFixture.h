#pragma once

#include "MainWindowFixture.h"
#include "PageServer.h"
#include "browser/PreviewPane.h"

#include <QCheckBox>
#include <QProgressBar>
#include <QSignalSpy>
#include <QUrl>

#include <functional>
#include <memory>

// The Preview tab driven as a user does, on pages served by the test.
class PreviewFixture : public MainWindowFixture
{
protected:
    // The web engine starts slowly on a busy machine.
    static constexpr int kLoadTimeoutMs = 60000;

    static QByteArray page(const QByteArray &title, const QByteArray &script = {})
    {
        return "<html><head><title>" + title + "</title></head><body><h1>" + title + "</h1><script>" + script +
               "</script></body></html>";
    }

    // Work holds A and B on pages of the test's server.
    void startOnPages()
    {
        m_server.setPage("/a", page("Page A"));
        m_server.setPage("/b", page("Page B"));
        startWith(LibraryText::folder(1, "Work",
                                      LibraryText::sitePin(1, "A", m_server.url("/a")) +
                                          LibraryText::sitePin(2, "B", m_server.url("/b"))));
        clickFolder("Work");
    }

    void showPreviewTab() { ui().tabInfo->setCurrentIndex(1); }
    void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

    // The browser's view, once the first page previewed has started it.
    QWidget *view() { return ui().wbPreview->inherits("QWebEngineView") ? ui().wbPreview : nullptr; }
    QString shownAddress() { return view() ? view()->property("url").toUrl().toString() : QString(); }

    // Runs the action and waits until the page at the address has loaded
    // (or failed to) and the bar is gone.
    bool finishesLoading(const std::function<void()> &action, const QString &address)
    {
        std::unique_ptr<QSignalSpy> finished;
        if (view())
            finished = std::make_unique<QSignalSpy>(view(), SIGNAL(loadFinished(bool)));
        action();
        if (!view())
            return false;
        if (!finished)
            finished = std::make_unique<QSignalSpy>(view(), SIGNAL(loadFinished(bool)));
        return QTest::qWaitFor(
            [&] { return finished->count() > 0 && shownAddress() == address && !ui().previewProgress->isVisible(); },
            kLoadTimeoutMs);
    }

    PageServer m_server;
};

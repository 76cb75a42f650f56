#pragma once

#include "HeadlessBrowser.h"
#include "PageServer.h"
#include "platform/browser/BridgeBrowser.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

// A real headless browser with the bridge, serving it pages from
// 127.0.0.1: page A opens page B itself, page C is there to be opened.
class RealBrowserFixture : public ::testing::Test
{
protected:
    // Chromium's or Firefox's start on a loaded machine; only a broken
    // bridge waits this long.
    static constexpr int kWaitMs = 60000;
    // What the program gives a detection.
    static constexpr int kDetectionMs = 500;

    explicit RealBrowserFixture(HeadlessBrowser::Kind kind);
    void SetUp() override;

    static const ShellWindow *findByTitle(const std::vector<ShellWindow> &windows, const QString &title);

    void createBridge();
    void startBrowser();
    bool waitForHostSocket();
    // Polls as the program would ask, each time within its deadline.
    std::vector<ShellWindow> waitForWindows(const std::function<bool(const std::vector<ShellWindow> &)> &wanted);
    void expectPagesAAndB();
    // The extension's id as the browser reports it to its host.
    QString reportedExtensionId();
    // Opens page C and a blank window, then closes every web page.
    void openAndClosePages();

    HeadlessBrowser::Kind m_kind;
    PageServer m_pages;
    QTemporaryDir m_folder;
    HeadlessBrowser m_browser;
    std::unique_ptr<BridgeBrowser> m_bridge;
};

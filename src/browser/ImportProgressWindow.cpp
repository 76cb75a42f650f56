#include "browser/ImportProgressWindow.h"

#include "browser/logic/ImportProgress.h"
#include "mainwindow/frmProgress.h"
#include "mainwindow/frmSitePins.h"
#include "mainwindow/frmSitePinsUi.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTreeWidget>

namespace {

constexpr int kRefreshIntervalMs = 40;

} // namespace

ImportProgressWindow::ImportProgressWindow(frmSitePins &window)
    : m_window(window)
{
}

ImportProgressWindow::~ImportProgressWindow()
{
    end();
}

// Modal, so that the main window cannot be used while the document it shows
// is being changed.
void ImportProgressWindow::begin()
{
    if (m_begun)
        return;
    m_begun = true;
    m_cancelled = false;
    m_bar = 0;
    m_window.ui().tvwTopics->hide();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_progress = new frmProgress(&m_window, m_window.environment().fontAvailable);
    m_progress->setAttribute(Qt::WA_DeleteOnClose);
    m_progress->setWindowModality(Qt::ApplicationModal);
    m_progress->setCancellable(true);
    connect(m_progress, &frmProgress::cancelRequested, this, [this] { m_cancelled = true; });
    m_progress->show();
    m_sinceRefresh.start();
    keepResponsive(true);
}

void ImportProgressWindow::end()
{
    if (!m_begun)
        return;
    m_begun = false;
    m_window.ui().tvwTopics->show();
    if (m_progress) {
        m_progress->setCancellable(false);
        m_progress->hide();
        m_progress->close();
    }
    QApplication::restoreOverrideCursor();
}

void ImportProgressWindow::setFolderLine(const QString &text)
{
    if (m_progress)
        m_progress->lblName()->setText(text);
}

void ImportProgressWindow::setItemLine(const QString &text)
{
    if (m_progress)
        m_progress->lblName2()->setText(text);
}

void ImportProgressWindow::setBar(double value)
{
    m_bar = value;
    if (m_progress)
        m_progress->progress1()->setValue(int(value));
}

void ImportProgressWindow::advanceALittle()
{
    setBar(ImportProgress::advanceALittle(m_bar));
}

void ImportProgressWindow::advanceToAtLeast98()
{
    setBar(ImportProgress::advanceToAtLeast98(m_bar));
}

void ImportProgressWindow::keepResponsive(bool now)
{
    if (!m_progress || (!now && m_sinceRefresh.elapsed() < kRefreshIntervalMs))
        return;
    m_sinceRefresh.restart();
    m_progress->repaint();
    // Another start handing over a capture or a command waits until the
    // import is done.
    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
}

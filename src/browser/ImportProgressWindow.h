#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>

class frmProgress;
class frmSitePins;

// The progress window of an import, which runs on the window's own thread:
// shown over the main window with a Cancel button, and repainted and
// listened to a few times a second while the work goes on. The folder tree
// is hidden meanwhile, as the import changes the document it shows.
class ImportProgressWindow : public QObject
{
    Q_OBJECT

public:
    explicit ImportProgressWindow(frmSitePins &window);
    ~ImportProgressWindow() override;

    void begin();
    void end();
    bool isCancelled() const { return m_cancelled; }

    void setFolderLine(const QString &text);
    void setItemLine(const QString &text);
    double bar() const { return m_bar; }
    void setBar(double value);
    void advanceALittle();
    void advanceToAtLeast98();
    // Lets the window repaint and hear Cancel, at most every few hundredths
    // of a second unless `now`.
    void keepResponsive(bool now = false);

private:
    frmSitePins &m_window;
    QPointer<frmProgress> m_progress;
    QElapsedTimer m_sinceRefresh;
    double m_bar = 0;
    bool m_cancelled = false;
    bool m_begun = false;
};

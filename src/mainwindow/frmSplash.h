#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QTimer;

// Shown while the main window prepares; it shows the main window and
// closes itself at the first tick after it has been told loading is over.
// The first tick comes after half a second, then one every tenth.
class frmSplash : public QWidget
{
    Q_OBJECT

public:
    frmSplash(QWidget *mainWindow, bool fontAvailable, int firstTickMs = 500, int pollMs = 100);

    void setUnload() { m_unload = true; }
    bool unloadRequested() const { return m_unload; }
    QTimer *timer() const { return m_timer; }
    void Timer1_Timer();

private:
    QPointer<QWidget> m_mainWindow;
    QTimer *m_timer;
    QLabel *m_version;
    int m_pollMs;
    bool m_unload = false;
};

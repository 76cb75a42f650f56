#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

// A small window that shows the progress of a long operation without
// blocking the main window.
class frmProgress : public QWidget
{
    Q_OBJECT

public:
    frmProgress(QWidget *owner, bool fontAvailable);

    QProgressBar *progress1() const { return m_progress; }
    QLabel *lblName() const { return m_name; }
    QLabel *lblName2() const { return m_name2; }
    // Changes a line and repaints at once: the work runs on this thread.
    void setLine(QLabel *line, const QString &text);

    // Offers a Cancel button; closing the window then cancels too.
    void setCancellable(bool cancellable);
    QPushButton *cmdCancel() const { return m_cancel; }

signals:
    void cancelRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void centreOverOwner();

    QProgressBar *m_progress;
    QLabel *m_name;
    QLabel *m_name2;
    QPushButton *m_cancel;
    QTimer *m_timer;
};

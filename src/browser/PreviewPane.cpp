#include "browser/PreviewPane.h"

#include "mainwindow/frmSitePins.h"

PreviewPane::PreviewPane(frmSitePins &window)
    : QObject(&window)
    , m_window(window)
{
}

void PreviewPane::showSitePinAddress(const QString &address)
{
    if (m_window.m_blnAutoPreview) {
        setSilent(false);
        navigate(address);
    } else {
        blank();
    }
}

void PreviewPane::blank()
{
    navigate(QStringLiteral("about:blank"));
}

void PreviewPane::navigate(const QString &address)
{
    m_address = address;
}

#include "mainwindow/PanelStatusBar.h"

#include <QLabel>

namespace {

// The classic bar leaves a thin line above its panels.
constexpr int kTopMargin = 2;

} // namespace

PanelStatusBar::PanelStatusBar(QWidget *parent)
    : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    setContentsMargins(0, 0, 0, 0);
    // Placed by hand rather than through QStatusBar's own layout, which puts
    // spacing between its widgets: the widths must add up to the bar's.
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        m_panels[i]->setFrameShape(QFrame::Panel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
        m_panels[i]->setTextFormat(Qt::PlainText);
        m_widths[i] = m_panels[i]->sizeHint().width();
    }
    placePanels();
}

QLabel *PanelStatusBar::panel(int panel) const
{
    return (panel >= 1 && panel <= 3) ? m_panels[panel - 1] : nullptr;
}

QString PanelStatusBar::panelText(int number) const
{
    const QLabel *label = panel(number);
    return label ? label->text() : QString();
}

void PanelStatusBar::setPanelText(int number, const QString &text)
{
    if (QLabel *label = panel(number))
        label->setText(text);
}

int PanelStatusBar::panelWidth(int number) const
{
    return (number >= 1 && number <= 3) ? m_widths[number - 1] : 0;
}

void PanelStatusBar::setPanelWidth(int number, int width)
{
    if (number < 1 || number > 3)
        return;
    m_widths[number - 1] = qMax(0, width);
    placePanels();
}

void PanelStatusBar::resizeEvent(QResizeEvent *event)
{
    QStatusBar::resizeEvent(event);
    placePanels();
}

void PanelStatusBar::placePanels()
{
    const int top = qMin(kTopMargin, height());
    int left = 0;
    for (int i = 0; i < 3; ++i) {
        m_panels[i]->setGeometry(left, top, m_widths[i], height() - top);
        left += m_widths[i];
    }
}

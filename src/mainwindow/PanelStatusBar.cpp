#include "mainwindow/PanelStatusBar.h"

#include <QLabel>

PanelStatusBar::PanelStatusBar(QWidget *parent)
    : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 3; ++i) {
        m_panels[i] = new QLabel(this);
        m_panels[i]->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        m_panels[i]->setFrameShape(QFrame::Panel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
        m_panels[i]->setMinimumWidth(0);
        m_panels[i]->setTextFormat(Qt::PlainText);
        m_panels[i]->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
        addWidget(m_panels[i], 0);
    }
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
    const QLabel *label = panel(number);
    return label ? label->width() : 0;
}

void PanelStatusBar::setPanelWidth(int number, int width)
{
    if (QLabel *label = panel(number))
        label->setFixedWidth(qMax(0, width));
}

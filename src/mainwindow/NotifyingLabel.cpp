#include "mainwindow/NotifyingLabel.h"

NotifyingLabel::NotifyingLabel(const QString &caption, QWidget *parent)
    : QLabel(caption, parent)
{
    setTextFormat(Qt::PlainText);
}

void NotifyingLabel::setCaption(const QString &caption)
{
    if (caption == text())
        return;
    setText(caption);
    emit captionChanged(caption);
}

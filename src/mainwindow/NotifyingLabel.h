#pragma once

#include <QLabel>

// A label whose caption drives behaviour: setCaption() raises
// captionChanged() whenever the text really changes.
class NotifyingLabel : public QLabel
{
    Q_OBJECT

public:
    explicit NotifyingLabel(const QString &caption, QWidget *parent = nullptr);

    QString caption() const { return text(); }
    void setCaption(const QString &caption);

signals:
    void captionChanged(const QString &caption);
};

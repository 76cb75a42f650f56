#pragma once

#include <QObject>
#include <QString>

// A hidden text field of the main window that other parts of the program
// watch: writing a different text raises changed(), writing the same text
// does nothing.
class StateField : public QObject
{
    Q_OBJECT

public:
    explicit StateField(const QString &name, QObject *parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString &text);

signals:
    void changed(const QString &text);

private:
    QString m_text;
};

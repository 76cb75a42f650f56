#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// A help file's text pop-ups: a plain text file in which each pop-up
// starts with a line ".topic <number or name>" and runs to the next one.
class PopupTextFile
{
public:
    static PopupTextFile parse(const QByteArray &text);
    // Empty when the file has no such pop-up.
    QString text(const QString &topic) const { return m_texts.value(topic.trimmed()); }
    QString text(int topic) const { return text(QString::number(topic)); }

private:
    QHash<QString, QString> m_texts;
};

#include "help/logic/PopupTextFile.h"

#include <QStringList>

PopupTextFile PopupTextFile::parse(const QByteArray &text)
{
    PopupTextFile file;
    QString topic;
    QStringList lines;
    const auto finish = [&] {
        if (!topic.isEmpty())
            file.m_texts.insert(topic, lines.join(QLatin1Char('\n')).trimmed());
        lines.clear();
    };
    for (const QString &line : QString::fromUtf8(text).split(QLatin1Char('\n'))) {
        const QString bare = line.trimmed();
        if (bare.startsWith(QLatin1String(".topic"), Qt::CaseInsensitive) &&
            (bare.size() == 6 || bare.at(6).isSpace())) {
            finish();
            topic = bare.mid(6).trimmed();
        } else {
            lines << bare;
        }
    }
    finish();
    return file;
}

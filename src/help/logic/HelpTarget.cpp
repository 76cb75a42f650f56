#include "help/logic/HelpTarget.h"

namespace {

const QString kTopicSeparator = QStringLiteral("::");

} // namespace

HelpTarget HelpTarget::parse(const QString &text)
{
    HelpTarget target;
    QString rest = text;
    const qsizetype window = rest.lastIndexOf(QLatin1Char('>'));
    if (window >= 0) {
        target.window = rest.mid(window + 1).trimmed();
        rest.truncate(window);
    }
    const qsizetype topic = rest.indexOf(kTopicSeparator);
    if (topic >= 0) {
        target.topic = rest.mid(topic + kTopicSeparator.size());
        while (target.topic.startsWith(QLatin1Char('/')))
            target.topic.remove(0, 1);
        rest.truncate(topic);
    }
    target.file = rest;
    return target;
}

QString HelpTarget::toString() const
{
    QString text = file;
    if (!topic.isEmpty())
        text += kTopicSeparator + QLatin1Char('/') + topic;
    if (!window.isEmpty())
        text += QLatin1Char('>') + window;
    return text;
}

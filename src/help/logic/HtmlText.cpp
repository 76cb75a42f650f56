#include "help/logic/HtmlText.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

QString HtmlText::decode(const QByteArray &bytes)
{
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

QString HtmlText::decodeEntities(const QString &text)
{
    static const QHash<QString, QChar> named{{QStringLiteral("amp"), u'&'},
                                             {QStringLiteral("lt"), u'<'},
                                             {QStringLiteral("gt"), u'>'},
                                             {QStringLiteral("quot"), u'"'},
                                             {QStringLiteral("apos"), u'\''},
                                             {QStringLiteral("nbsp"), QChar(0xa0)},
                                             {QStringLiteral("copy"), QChar(0xa9)},
                                             {QStringLiteral("reg"), QChar(0xae)},
                                             {QStringLiteral("hellip"), QChar(0x2026)},
                                             {QStringLiteral("ndash"), QChar(0x2013)},
                                             {QStringLiteral("mdash"), QChar(0x2014)}};
    static const QRegularExpression entity(QStringLiteral("&(#[0-9]+|#[xX][0-9a-fA-F]+|[a-zA-Z]+);"));
    if (!text.contains(u'&'))
        return text;
    QString out;
    qsizetype last = 0;
    for (auto it = entity.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString name = match.captured(1);
        char32_t code = 0;
        if (name.startsWith(u"#x") || name.startsWith(u"#X"))
            code = name.mid(2).toUInt(nullptr, 16);
        else if (name.startsWith(u'#'))
            code = name.mid(1).toUInt();
        else if (named.contains(name))
            code = named.value(name).unicode();
        if (code == 0 || code > 0x10ffff)
            continue;
        out += QStringView(text).mid(last, match.capturedStart() - last);
        out += QString::fromUcs4(&code, 1);
        last = match.capturedEnd();
    }
    out += QStringView(text).mid(last);
    return out;
}

QString HtmlText::title(const QString &html)
{
    static const QRegularExpression title(QStringLiteral("<title[^>]*>(.*?)</title\\s*>"),
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption);
    return decodeEntities(title.match(html).captured(1)).simplified();
}

QString HtmlText::plainText(const QString &html)
{
    static const QRegularExpression hidden(QStringLiteral("<!--.*?-->|<(script|style)\\b.*?</\\1\\s*>"),
                                           QRegularExpression::CaseInsensitiveOption |
                                               QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    QString text = html;
    text.remove(hidden);
    text.replace(tag, QStringLiteral(" "));
    return decodeEntities(text).simplified();
}

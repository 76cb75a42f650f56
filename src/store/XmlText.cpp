#include "store/XmlText.h"

#include <QStringView>

bool XmlText::isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

QString XmlText::withoutInvalidChars(const QString &text)
{
    QString result;
    result.reserve(text.size());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar ch = text.at(i);
        if (ch.isHighSurrogate() && i + 1 < size && text.at(i + 1).isLowSurrogate()) {
            result.append(ch);
            result.append(text.at(++i));
            continue;
        }
        if (ch.isSurrogate())
            continue; // unpaired: not a character at all
        if (isXmlChar(ch.unicode()))
            result.append(ch);
    }
    return result;
}

QByteArray XmlText::toXmlSafeUtf8(const QString &text)
{
    for (const QChar ch : text) {
        if (ch.isSurrogate() || !isXmlChar(ch.unicode()))
            return withoutInvalidChars(text).toUtf8();
    }
    return text.toUtf8();
}

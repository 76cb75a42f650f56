#pragma once

#include <QByteArray>
#include <QString>

// Text as XML 1.0 can hold it. A control character pasted into a field would
// otherwise be written as a character reference that no parser accepts, and
// the library would no longer open.
class XmlText
{
public:
    static bool isXmlChar(char32_t codePoint);
    static QString withoutInvalidChars(const QString &text);
    static QByteArray toXmlSafeUtf8(const QString &text);
};

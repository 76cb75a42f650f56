#include "exchange/MarkupEscape.h"

#include "store/XmlText.h"

void MarkupEscape::append(QString &out, const QString &text)
{
    const QString safe = XmlText::withoutInvalidChars(text);
    out.reserve(out.size() + safe.size());
    for (const QChar c : safe) {
        switch (c.unicode()) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '"':
            out += QLatin1String("&quot;");
            break;
        case '\n':
            out += QLatin1String("&#10;");
            break;
        case '\r':
            out += QLatin1String("&#13;");
            break;
        case '\t':
            out += QLatin1String("&#9;");
            break;
        default:
            out += c;
        }
    }
}

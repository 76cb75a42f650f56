#include "exchange/MarkupEscape.h"

#include "store/XmlText.h"

namespace {

// The reference for a character that must not stand as it is, or null.
const char *referenceFor(char16_t c)
{
    switch (c) {
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    case '"':
        return "&quot;";
    case '\n':
        return "&#10;";
    case '\r':
        return "&#13;";
    case '\t':
        return "&#9;";
    default:
        return nullptr;
    }
}

// Control characters, lone surrogates and the two non-characters XML
// refuses; a pair of surrogates is one valid character.
bool mayNeedDropping(char16_t c)
{
    return c < 0x20 || (c >= 0xD800 && c <= 0xDFFF) || c >= 0xFFFE;
}

} // namespace

// Plain runs of text are copied whole: this is the innermost step of an
// export of the whole library.
void MarkupEscape::append(QString &out, const QString &text)
{
    const QChar *data = text.constData();
    const qsizetype size = text.size();
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = data[i].unicode();
        const char *reference = referenceFor(c);
        if (!reference && !mayNeedDropping(c))
            continue;
        if (!reference && data[i].isHighSurrogate() && i + 1 < size && data[i + 1].isLowSurrogate()) {
            ++i;
            continue;
        }
        out.append(data + runStart, i - runStart);
        runStart = i + 1;
        if (reference)
            out.append(QLatin1String(reference));
        else if (XmlText::isXmlChar(c) && !data[i].isSurrogate())
            out.append(data[i]);
    }
    out.append(data + runStart, size - runStart);
}

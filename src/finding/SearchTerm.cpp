#include "finding/SearchTerm.h"

namespace {

bool isAscii(QByteArrayView text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c;
}

bool foldsLikeUnicode(const QLocale &locale)
{
    return locale.toLower(QStringLiteral("I")) == QLatin1String("i") &&
           locale.toUpper(QStringLiteral("i")) == QLatin1String("I");
}

} // namespace

SearchTerm::SearchTerm(const QString &term, const QLocale &locale)
    : m_locale(locale)
    , m_lowerByLocale(!foldsLikeUnicode(locale))
    , m_term(m_lowerByLocale ? locale.toLower(term) : term)
    , m_matcher(m_term, m_lowerByLocale ? Qt::CaseSensitive : Qt::CaseInsensitive)
{
    const QByteArray utf8 = term.toUtf8();
    if (!m_lowerByLocale && !utf8.isEmpty() && isAscii(utf8)) {
        for (const char c : utf8)
            m_asciiLower.append(lowerAscii(c));
    }
}

// Most library text is plain ASCII: matched in place as UTF-8, without
// making a string of every field. Text with any other character goes the
// full Unicode way, since case folding can map such characters onto ASCII
// letters (the Kelvin sign onto "k").
bool SearchTerm::occursInTextOf(const XmlNode &element) const
{
    QByteArrayView view;
    if (m_asciiLower.isEmpty() || !element.textAsUtf8View(view))
        return occursIn(element.text());
    bool sawOtherCharacters = false;
    if (occursInAscii(view, sawOtherCharacters))
        return true;
    return sawOtherCharacters && occursIn(element.text());
}

// An ASCII match is a match whatever else the text holds; finding none only
// settles it for text that is all ASCII.
bool SearchTerm::occursInAscii(QByteArrayView text, bool &sawOtherCharacters) const
{
    const qsizetype length = m_asciiLower.size();
    const char first = m_asciiLower.at(0);
    for (qsizetype at = 0; at < text.size(); ++at) {
        const char c = text.at(at);
        if (static_cast<unsigned char>(c) >= 0x80)
            sawOtherCharacters = true;
        if (lowerAscii(c) != first || at + length > text.size())
            continue;
        qsizetype i = 1;
        while (i < length && lowerAscii(text.at(at + i)) == m_asciiLower.at(i))
            ++i;
        if (i == length)
            return true;
    }
    return false;
}

bool SearchTerm::occursIn(const QString &text) const
{
    if (text.isEmpty())
        return false;
    if (m_term.isEmpty())
        return true;
    if (m_lowerByLocale)
        return m_matcher.indexIn(m_locale.toLower(text)) >= 0;
    return m_matcher.indexIn(text) >= 0;
}

// Case folding maps each character on its own, so a term inside one part is
// inside the whole. Lower-casing by the locale looks at neighbours (a final
// sigma), so there the whole says nothing about the parts.
bool SearchTerm::mayOccurInAnyPartOf(const QString &concatenation) const
{
    return m_lowerByLocale || occursIn(concatenation);
}

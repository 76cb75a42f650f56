#include "finding/SearchTerm.h"

namespace {

// Text never holds a zero character, so a term with one is left to the
// full comparison, which finds it nowhere.
bool isPlainAscii(const QByteArray &text)
{
    for (const char c : text) {
        if (c == 0 || static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

// U+017F and U+212A in UTF-8.
bool foldsOntoAscii(const unsigned char *at)
{
    return (at[0] == 0xC5 && at[1] == 0xBF) || (at[0] == 0xE2 && at[1] == 0x84 && at[2] == 0xAA);
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
    if (!m_lowerByLocale && !utf8.isEmpty() && isPlainAscii(utf8)) {
        for (const char c : utf8)
            m_asciiLower.append(lowerAscii(c));
    }
}

// Most library text is ASCII or close to it: matched in place as UTF-8,
// without making a string of every field. An ASCII term can only match ASCII
// text and the two characters that case folding maps onto ASCII letters (the
// long s onto "s", the Kelvin sign onto "k"); only text holding one of those
// goes the full Unicode way.
bool SearchTerm::occursInTextOf(const XmlNode &element) const
{
    const char *utf8 = nullptr;
    if (m_asciiLower.isEmpty() || !element.textInPlace(utf8))
        return occursIn(element.text());
    bool mayFoldOntoAscii = false;
    if (occursInAscii(utf8, mayFoldOntoAscii))
        return true;
    return mayFoldOntoAscii && occursIn(element.text());
}

// One pass, no length taken first; the text's terminating zero ends every
// comparison by mismatch.
bool SearchTerm::occursInAscii(const char *text, bool &mayFoldOntoAscii) const
{
    const char *term = m_asciiLower.constData();
    const unsigned char lower = static_cast<unsigned char>(term[0]);
    const unsigned char upper = static_cast<unsigned char>(lower >= 'a' && lower <= 'z' ? lower - ('a' - 'A') : lower);
    for (const unsigned char *at = reinterpret_cast<const unsigned char *>(text); *at; ++at) {
        if (*at != lower && *at != upper) {
            if (*at >= 0xC5 && foldsOntoAscii(at))
                mayFoldOntoAscii = true;
            continue;
        }
        qsizetype i = 1;
        while (term[i] && lowerAscii(char(at[i])) == term[i])
            ++i;
        if (!term[i])
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

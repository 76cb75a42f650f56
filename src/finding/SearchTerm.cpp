#include "finding/SearchTerm.h"

namespace {

bool isAscii(const QByteArray &text)
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
    const char *utf8 = nullptr;
    if (m_asciiLower.isEmpty() || !element.textInPlace(utf8))
        return occursIn(element.text());
    bool sawOtherCharacters = false;
    if (occursInAscii(utf8, sawOtherCharacters))
        return true;
    return sawOtherCharacters && occursIn(element.text());
}

// An ASCII match is a match whatever else the text holds; finding none only
// settles it for text that is all ASCII. One pass, no length taken first.
bool SearchTerm::occursInAscii(const char *text, bool &sawOtherCharacters) const
{
    const char *term = m_asciiLower.constData();
    const unsigned char lower = static_cast<unsigned char>(term[0]);
    const unsigned char upper = static_cast<unsigned char>(lower >= 'a' && lower <= 'z' ? lower - ('a' - 'A') : lower);
    unsigned char seen = 0;
    for (const unsigned char *at = reinterpret_cast<const unsigned char *>(text); *at; ++at) {
        seen |= *at;
        if (*at != lower && *at != upper)
            continue;
        qsizetype i = 1;
        // The text's terminating zero ends the comparison by mismatch.
        while (term[i] && lowerAscii(char(at[i])) == term[i])
            ++i;
        if (!term[i])
            return true;
    }
    sawOtherCharacters = (seen & 0x80) != 0;
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

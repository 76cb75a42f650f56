#include "finding/logic/SearchTerm.h"

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

bool SearchTerm::occursInTextOf(const XmlNode &element) const
{
    return occursIn(element.text());
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

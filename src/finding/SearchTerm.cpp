#include "finding/SearchTerm.h"

namespace {

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

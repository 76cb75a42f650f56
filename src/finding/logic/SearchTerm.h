#pragma once

#include "store/XmlNode.h"

#include <QLocale>
#include <QString>
#include <QStringMatcher>

// A search term, compared with texts without regard to case as the user's
// locale sees case. Qt's case-insensitive comparison folds case the same way
// in every locale; that is the locale's own view everywhere except where the
// locale lower-cases "I" differently (Turkish, Azerbaijani: I/ı and İ/i),
// and only there the texts are lower-cased by the locale instead.
class SearchTerm
{
public:
    explicit SearchTerm(const QString &term, const QLocale &locale = QLocale());

    // An empty term occurs in every non-empty text; nothing occurs in an
    // empty text.
    bool occursIn(const QString &text) const;
    bool occursInTextOf(const XmlNode &element) const;
    // The term in lower case when it is plain ASCII and case folds the
    // ordinary way, so that it can be matched byte by byte; empty otherwise.
    const QByteArray &asciiLower() const { return m_asciiLower; }
    bool isEmpty() const { return m_term.isEmpty(); }

private:
    QLocale m_locale;
    bool m_lowerByLocale;
    QString m_term;
    QStringMatcher m_matcher;
    QByteArray m_asciiLower;
};

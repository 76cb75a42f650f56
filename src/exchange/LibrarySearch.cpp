#include "exchange/LibrarySearch.h"

#include "finding/logic/SearchTerm.h"

namespace {

bool isHit(const XmlNode &sitePin, LibrarySearch::Field field, const SearchTerm &term)
{
    switch (field) {
    case LibrarySearch::Field::All:
        for (XmlNode child = sitePin.firstChildElement(); child; child = child.nextSiblingElement()) {
            if (term.occursInTextOf(child))
                return true;
        }
        return false;
    case LibrarySearch::Field::Name:
        return term.occursInTextOf(sitePin.selectSingleNode(QStringLiteral("NAME")));
    case LibrarySearch::Field::Address:
        return term.occursInTextOf(sitePin.selectSingleNode(QStringLiteral("ADDRESS")));
    case LibrarySearch::Field::Notes:
        return term.occursInTextOf(sitePin.selectSingleNode(QStringLiteral("NOTES")));
    }
    return false;
}

QString oneLine(QString text)
{
    for (QChar &c : text) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    }
    return text;
}

} // namespace

std::optional<LibrarySearch::Field> LibrarySearch::fieldNamed(const QString &name)
{
    const QString lower = name.toLower();
    if (lower == QLatin1String("all"))
        return Field::All;
    if (lower == QLatin1String("name"))
        return Field::Name;
    if (lower == QLatin1String("address"))
        return Field::Address;
    if (lower == QLatin1String("notes"))
        return Field::Notes;
    return std::nullopt;
}

std::vector<XmlNode> LibrarySearch::find(const XmlDocument &dom, const QString &text, Field field)
{
    const SearchTerm term(text);
    std::vector<XmlNode> hits;
    dom.documentElement().forEachOutermostElementByTagName(QStringLiteral("SITEPIN"), [&](const XmlNode &sitePin) {
        if (isHit(sitePin, field, term))
            hits.push_back(sitePin);
    });
    return hits;
}

QString LibrarySearch::line(const XmlNode &sitePin)
{
    return oneLine(sitePin.selectSingleNode(QStringLiteral("NAME")).text()) + QLatin1Char('\t') +
           oneLine(sitePin.selectSingleNode(QStringLiteral("ADDRESS")).text());
}

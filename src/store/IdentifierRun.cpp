#include "store/IdentifierRun.h"

#include "store/XMLDatabase.h"

IdentifierRun::IdentifierRun(const XMLDatabase &database)
    : m_dom(database.getTheDOM())
    , m_folders{QLatin1Char('T'), database.countElements(QStringLiteral("FOLDER"))}
    , m_sitePins{QLatin1Char('W'), database.countElements(QStringLiteral("SITEPIN"))}
{
}

QString IdentifierRun::nextTID()
{
    return next(m_folders);
}

QString IdentifierRun::nextWID()
{
    return next(m_sitePins);
}

// Numbers in use only grow while the run lasts, so the first free number
// from count + 1 on never lies below the last one found.
QString IdentifierRun::next(Kind &kind)
{
    for (int n = std::max(kind.probe, kind.count + 1); n <= XMLDatabase::kMaxIdentifierNumber; ++n) {
        const QString candidate = kind.prefix + QString::number(n);
        if (!m_dom.nodeFromID(candidate)) {
            kind.probe = n + 1;
            ++kind.count;
            return candidate;
        }
    }
    kind.probe = XMLDatabase::kMaxIdentifierNumber + 1;
    return {};
}

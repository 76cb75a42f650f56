#include "layout/CommandRouter.h"

void CommandRouter::on(const QString &name, std::function<void()> handler)
{
    m_handlers.insert(name, std::move(handler));
}

bool CommandRouter::run(const QString &name) const
{
    const auto handler = m_handlers.constFind(name);
    if (handler == m_handlers.constEnd() || !*handler)
        return false;
    (*handler)();
    return true;
}

QString CommandRouter::commandForToolbarButton(int index)
{
    switch (index) {
    case 1:
        return QStringLiteral("mnuAddSitePin");
    case 2:
        return QStringLiteral("mnuEditModify");
    case 3:
        return QStringLiteral("mnuEditDelete");
    case 5:
        return QStringLiteral("mnuNavFirst");
    case 6:
        return QStringLiteral("mnuNavPrevious");
    case 7:
        return QStringLiteral("mnuNavNext");
    case 8:
        return QStringLiteral("mnuNavLast");
    case 10:
        return QStringLiteral("mnuToolsSearchText");
    case 12:
        return QStringLiteral("mnuAddTopic");
    case 13:
        return QStringLiteral("mnuEditModifyTopic");
    case 14:
        return QStringLiteral("mnuEditDeleteTopic");
    case 16:
        return QStringLiteral("mnuToolsOpen");
    case 17:
        return QStringLiteral("mnuToolsGet");
    case 18:
        return QStringLiteral("mnuToolsOpenBlank");
    case 20:
        return QStringLiteral("saveEdit");
    case 21:
        return QStringLiteral("cancelEdit");
    default:
        return {};
    }
}

#include "care/logic/LinkCheckResult.h"

#include <QStringList>

QString LinkCheckResult::captionOf(LinkOutcome outcome)
{
    switch (outcome) {
    case LinkOutcome::Ok:
        return QStringLiteral("OK");
    case LinkOutcome::MovedPermanently:
        return QStringLiteral("Moved permanently");
    case LinkOutcome::MovedTemporarily:
        return QStringLiteral("Moved temporarily");
    case LinkOutcome::NotFound:
        return QStringLiteral("Not found");
    case LinkOutcome::Gone:
        return QStringLiteral("Gone");
    case LinkOutcome::ServerError:
        return QStringLiteral("Server error");
    case LinkOutcome::TlsError:
        return QStringLiteral("TLS error");
    case LinkOutcome::NoSuchHost:
        return QStringLiteral("No such host");
    case LinkOutcome::Timeout:
        return QStringLiteral("Timeout");
    case LinkOutcome::Refused:
        return QStringLiteral("Connection refused");
    case LinkOutcome::TooManyRedirects:
        return QStringLiteral("Too many redirects");
    case LinkOutcome::OtherError:
        break;
    }
    return QStringLiteral("Other error");
}

QString LinkCheckResult::outcomeText() const
{
    if (outcome == LinkOutcome::MovedPermanently)
        return captionOf(outcome) + QStringLiteral(" \u2192 ") + newAddress;
    return captionOf(outcome);
}

QString LinkCheckResult::details() const
{
    QStringList parts;
    for (const LinkHop &hop : redirects)
        parts << QString::number(hop.status);
    if (status != 0)
        parts << QString::number(status);
    QString text = parts.join(QStringLiteral(" \u2192 "));
    if (!redirects.empty() && outcome != LinkOutcome::MovedPermanently && outcome != LinkOutcome::TooManyRedirects)
        text += QStringLiteral(" (last address %1)").arg(finalAddress);
    if (!error.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral(": ")) + error;
    return text;
}

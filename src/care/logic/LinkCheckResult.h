#pragma once

#include <QMetaType>
#include <QString>

#include <vector>

// What asking for an address came to, in the order the results list offers
// them for filtering.
enum class LinkOutcome
{
    Ok,
    MovedPermanently,
    MovedTemporarily,
    NotFound,
    Gone,
    ServerError,
    TlsError,
    NoSuchHost,
    Timeout,
    Refused,
    TooManyRedirects,
    OtherError
};

// One redirect on the way: the address asked for and the status it gave.
struct LinkHop
{
    QString address;
    int status = 0;

    bool isPermanent() const { return status == 301 || status == 308; }
};

// The check of one SitePin's address.
struct LinkCheckResult
{
    static constexpr int kOutcomeCount = int(LinkOutcome::OtherError) + 1;

    QString id;
    QString address;
    LinkOutcome outcome = LinkOutcome::OtherError;
    // The last address asked for, after any redirects.
    QString finalAddress;
    // The last HTTP status, 0 when no answer came.
    int status = 0;
    // For a permanent move: the address the SitePin should now have.
    QString newAddress;
    std::vector<LinkHop> redirects;
    // The network's own words when there was no HTTP answer.
    QString error;

    static QString captionOf(LinkOutcome outcome);
    // "Moved permanently → https://…" or the caption alone.
    QString outcomeText() const;
    // The redirects and the last status, for the user who wants to know why.
    QString details() const;
};

Q_DECLARE_METATYPE(LinkCheckResult)

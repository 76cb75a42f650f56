#pragma once

#include <QByteArray>
#include <QDeadlineTimer>

#include <optional>

// One blocking HTTP/1.1 request to a port on 127.0.0.1, and nothing else: the
// browsers' debugging endpoints listen there, and a request is never sent
// anywhere a user's address could lead. Meant for callers that cannot wait
// for an event loop; the deadline bounds the whole exchange, so a peer that
// accepts and never answers costs no more than that.
class LoopbackHttpClient
{
public:
    struct Reply
    {
        int statusCode = 0;
        QByteArray body;
    };

    // No reply when the port refuses, the deadline passes first, or the
    // answer is not a well-formed response within the body cap.
    static std::optional<Reply> request(quint16 port, const QByteArray &method, const QByteArray &target,
                                        const QDeadlineTimer &deadline);
};

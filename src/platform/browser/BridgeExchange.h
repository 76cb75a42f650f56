#pragma once

#include <QDeadlineTimer>
#include <QJsonObject>
#include <QString>

#include <vector>

// One request to each of several bridge hosts at once, the replies gathered
// until the deadline. Runs without an event loop (plain non-blocking sockets
// and poll), so a window asking never has its own events delivered under it,
// and a host that hangs costs no more than the deadline.
class BridgeExchange
{
public:
    enum class Outcome
    {
        Replied,
        Refused, // nobody listens: the host is gone and left its socket behind
        NoReply, // no answer by the deadline
        Failed,  // the connection broke, or the host talked nonsense
    };
    struct Result
    {
        Outcome outcome = Outcome::NoReply;
        QJsonObject reply;
    };

    // request[i] goes to socketPaths[i]; "id" is set here.
    static std::vector<Result> run(const std::vector<QString> &socketPaths, const std::vector<QJsonObject> &requests,
                                   const QDeadlineTimer &deadline);
};

// A separate process on the instance channel, for the tests:
//   instance_peer send <name> <text> [timeoutMs]  exit 0 when the primary acknowledged
//   instance_peer try <name>                      exit 0 if it could become primary, 3 if not
#include "platform/InstanceChannel.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fputs("usage: instance_peer send|try <name> [text] [timeoutMs]\n", stderr);
        return 64;
    }
    const QString &mode = args.at(1);
    InstanceChannel channel(args.at(2));

    if (mode == u"send" && args.size() >= 4) {
        const int timeoutMs = args.size() >= 5 ? args.at(4).toInt() : 30000;
        if (channel.sendToPrimary(Message::handOver(args.at(3)), timeoutMs))
            return 0;
        std::fprintf(stderr, "%s\n", qPrintable(channel.errorString()));
        return 1;
    }
    if (mode == u"try")
        return channel.tryBecomePrimary() ? 0 : 3;
    std::fputs("unknown mode\n", stderr);
    return 64;
}

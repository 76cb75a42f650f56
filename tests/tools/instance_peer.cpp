// A separate process on the instance channel, for the tests:
//   instance_peer send <name> <text> [timeoutMs]  exit 0 when the primary acknowledged
//   instance_peer try <name>                      exit 0 if it could become primary, 3 if not
//   instance_peer host <name> [setting=value...]  becomes primary, says "ready" and serves
//                                                 until ended; each hand-over is printed
// Settings of host: files (its RLIMIT_NOFILE, so that the test runner's own limit stays
// as it is), connections, deadline (frame and idle, ms), relisten (ms).
#include "platform/InstanceChannel.h"

#include <QCoreApplication>

#include <cstdio>
#include <sys/resource.h>

namespace {

int host(InstanceChannel &channel, const QStringList &settings)
{
    FrameServerLimits limits;
    for (const QString &setting : settings) {
        const QString name = setting.section(u'=', 0, 0);
        const int value = setting.section(u'=', 1).toInt();
        if (name == u"files") {
            const rlimit files{rlim_t(value), rlim_t(value)};
            setrlimit(RLIMIT_NOFILE, &files);
        } else if (name == u"connections") {
            limits.maxConnections = value;
        } else if (name == u"deadline") {
            limits.frameDeadlineMs = limits.idleTimeoutMs = value;
        } else if (name == u"relisten") {
            limits.relistenIntervalMs = value;
        }
    }
    channel.setLimits(limits);
    if (!channel.tryBecomePrimary()) {
        std::fprintf(stderr, "%s\n", qPrintable(channel.errorString()));
        return 3;
    }
    QObject::connect(&channel, &InstanceChannel::messageReceived, [](const Message &message) {
        std::printf("received %s\n", qPrintable(message.text()));
        std::fflush(stdout);
    });
    std::puts("ready");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fputs("usage: instance_peer send|try|host <name> [text] [timeoutMs]\n", stderr);
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
    if (mode == u"host")
        return host(channel, args.mid(3));
    std::fputs("unknown mode\n", stderr);
    return 64;
}

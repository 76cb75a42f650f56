// SitePinsBridge: the native-messaging host the browser starts when the
// bridge extension connects. It lives as long as the extension's port:
// standard input closing ends it.
//
//   SitePinsBridge [origin ...]                 run as the browser's host
//   SitePinsBridge --print-manifest chromium|firefox [--path HOST]
//                                               print the host manifest for this program (or HOST)
#include "browser/host/BridgeHost.h"
#include "browser/host/BrowserPort.h"
#include "browser/host/CaptureRelay.h"
#include "browser/host/TerminationSignals.h"
#include "platform/FrameCodec.h"
#include "platform/browser/BridgeFolder.h"
#include "platform/browser/HostManifest.h"

#include <QCoreApplication>
#include <QStringList>

#include <csignal>
#include <cstdio>
#include <unistd.h>

namespace {

int printManifest(const QStringList &args)
{
    const QString browser = args.value(2);
    const int pathAt = int(args.indexOf(QStringLiteral("--path")));
    const QString hostPath = pathAt > 0 ? args.value(pathAt + 1) : QCoreApplication::applicationFilePath();
    if ((browser != u"chromium" && browser != u"firefox") || hostPath.isEmpty()) {
        std::fputs("usage: SitePinsBridge --print-manifest chromium|firefox [--path HOST]\n", stderr);
        return 64;
    }
    const QByteArray manifest = HostManifest::json(
        browser == u"firefox" ? HostManifest::Browser::Firefox : HostManifest::Browser::Chromium, hostPath);
    std::fwrite(manifest.constData(), 1, size_t(manifest.size()), stdout);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == u"--print-manifest")
        return printManifest(args);

    // A browser gone while we write to it is a failed write, not our death.
    std::signal(SIGPIPE, SIG_IGN);
    TerminationSignals terminations;
    QObject::connect(&terminations, &TerminationSignals::received, &app, &QCoreApplication::quit);

    QString error;
    const QString folder = BridgeFolder::path(&error);
    if (folder.isEmpty()) {
        std::fprintf(stderr, "SitePinsBridge: %s\n", qPrintable(error));
        return 1;
    }
    BrowserPort browser(STDIN_FILENO, STDOUT_FILENO, FrameCodec::kDefaultMaxPayloadSize);
    QObject::connect(&browser, &BrowserPort::closed, &app, &QCoreApplication::quit);
    CaptureRelay capture;
    BridgeHost host(folder, browser, &capture);
    if (!host.listen(&error)) {
        std::fprintf(stderr, "SitePinsBridge: cannot listen on %s: %s\n", qPrintable(host.socketPath()),
                     qPrintable(error));
        return 1;
    }
    return app.exec();
}

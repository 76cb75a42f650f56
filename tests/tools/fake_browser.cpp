// Stands in for a browser running the bridge extension: starts the bridge
// host as a browser would (pipes on its standard input and output) and
// answers its requests from a model of windows and tabs.
//
//   fake_browser <host> <model.json> [--mute] [--refuse-open] [--focused-at MS]
//
// The model is {"windows": [{"id": n, "tabs": [{"id", "url", "title", "active"}]}]}.
// --mute never answers (a hung browser); --refuse-open answers opening with
// an error (as Firefox does for file: addresses). Prints the host's process
// id once it runs, and ends when the host does.
#include "platform/browser/NativeMessageCodec.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <cstdio>

namespace {

class FakeBrowser
{
public:
    FakeBrowser(QJsonArray windows, bool mute, bool refuseOpen)
        : m_windows(std::move(windows))
        , m_mute(mute)
        , m_refuseOpen(refuseOpen)
    {
    }

    void send(QProcess &host, const QJsonObject &message)
    {
        host.write(*NativeMessageCodec::encode(QJsonDocument(message).toJson(QJsonDocument::Compact)));
    }

    void read(QProcess &host)
    {
        m_codec.append(host.readAllStandardOutput());
        QByteArray bytes;
        while (m_codec.next(bytes)) {
            const QJsonObject request = QJsonDocument::fromJson(bytes).object();
            if (!m_mute)
                send(host, answer(request));
        }
    }

private:
    QJsonObject answer(const QJsonObject &request)
    {
        const QString command = request.value("cmd").toString();
        QJsonObject reply{{"id", request.value("id")}, {"ok", true}};
        if (command == u"list") {
            reply.insert("windows", m_windows);
            return reply;
        }
        if ((command == u"open" || command == u"openBlank") && !m_refuseOpen) {
            const QString url = command == u"open" ? request.value("url").toString() : "chrome://newtab/";
            const qint64 windowId = m_nextId++;
            const qint64 tabId = m_nextId++;
            const QJsonObject tab{{"id", tabId}, {"url", url}, {"title", QString()}, {"active", true}};
            m_windows.append(QJsonObject{{"id", windowId}, {"tabs", QJsonArray{tab}}});
            reply.insert("windowId", windowId);
            reply.insert("tabId", tabId);
            return reply;
        }
        if (command == u"close" && removeTab(request.value("tabId").toInteger()))
            return reply;
        reply.insert("ok", false);
        reply.insert("error", "refused");
        return reply;
    }

    bool removeTab(qint64 tabId)
    {
        for (qsizetype w = 0; w < m_windows.size(); ++w) {
            QJsonObject window = m_windows.at(w).toObject();
            QJsonArray tabs = window.value("tabs").toArray();
            for (qsizetype t = 0; t < tabs.size(); ++t) {
                if (tabs.at(t).toObject().value("id").toInteger() != tabId)
                    continue;
                tabs.removeAt(t);
                window.insert("tabs", tabs);
                m_windows.replace(w, window);
                return true;
            }
        }
        return false;
    }

    QJsonArray m_windows;
    bool m_mute;
    bool m_refuseOpen;
    qint64 m_nextId = 100000;
    NativeMessageCodec m_codec{NativeMessageCodec::kMaxToBrowser};
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        std::fputs("usage: fake_browser <host> <model.json> [--mute] [--refuse-open] [--focused-at MS]\n", stderr);
        return 64;
    }
    QFile modelFile(args.at(2));
    if (!modelFile.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "fake_browser: cannot read %s\n", qPrintable(args.at(2)));
        return 66;
    }
    const QJsonArray windows = QJsonDocument::fromJson(modelFile.readAll()).object().value("windows").toArray();
    FakeBrowser browser(windows, args.contains("--mute"), args.contains("--refuse-open"));

    QProcess host;
    host.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QObject::connect(&host, &QProcess::readyReadStandardOutput, [&] { browser.read(host); });
    QObject::connect(&host, &QProcess::finished, &app, [&](int code) { app.exit(code); });
    host.start(args.at(1), {"chrome-extension://fake/"});
    if (!host.waitForStarted()) {
        std::fprintf(stderr, "fake_browser: cannot start %s\n", qPrintable(args.at(1)));
        return 69;
    }
    const qsizetype focusedAt = args.indexOf("--focused-at");
    if (focusedAt > 0)
        browser.send(host, {{"event", "focus"}, {"at", args.value(focusedAt + 1).toLongLong()}});
    std::printf("%lld\n", qint64(host.processId()));
    std::fflush(stdout);
    return app.exec();
}

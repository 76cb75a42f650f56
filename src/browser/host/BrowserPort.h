#pragma once

#include "platform/browser/NativeMessageCodec.h"

#include <QJsonObject>
#include <QObject>
#include <QSocketNotifier>

// The browser's end of native messaging: its messages on standard input,
// ours on standard output. Messages that are too long, not JSON or not an
// object are dropped one by one; the pipe itself is never given up on,
// since the browser would only start another host.
class BrowserPort : public QObject
{
    Q_OBJECT

public:
    BrowserPort(int inputFd, int outputFd, qsizetype maxIncoming, QObject *parent = nullptr);

    // False when the message is longer than the browser takes, or the pipe is broken.
    bool send(const QJsonObject &message);

signals:
    void received(const QJsonObject &message);
    // The browser closed the pipe: the extension disconnected or the browser quit.
    void closed();

private:
    void readAvailable();
    bool writeAll(const QByteArray &bytes);

    int m_inputFd;
    int m_outputFd;
    NativeMessageCodec m_codec;
    QSocketNotifier m_notifier;
};

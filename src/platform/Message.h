#pragma once

#include "platform/MessageType.h"

#include <QByteArray>
#include <QString>

// One frame's content. type is a plain byte so that a peer's newer types can
// be represented (and rejected) without a cast through MessageType.
struct Message
{
    quint8 type = 0;
    QByteArray payload;

    static Message handOver(const QString &text) { return {quint8(MessageType::HandOver), text.toUtf8()}; }
    static Message ack() { return {quint8(MessageType::Ack), {}}; }
    static Message openLibrary(const QString &path) { return {quint8(MessageType::OpenLibrary), path.toUtf8()}; }

    bool is(MessageType kind) const { return type == quint8(kind); }
    QString text() const { return QString::fromUtf8(payload); }

    friend bool operator==(const Message &, const Message &) = default;
};

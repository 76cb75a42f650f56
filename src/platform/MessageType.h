#pragma once

#include <QtGlobal>

// Message types on the instance channel and the browser bridge's sockets.
// The numbers go over the wire: never renumber; new kinds take new numbers.
enum class MessageType : quint8
{
    HandOver = 1,      // payload: UTF-8 text
    Ack = 2,           // payload: empty
    BridgeRequest = 3, // payload: a UTF-8 JSON object {"id": n, "cmd": ...}
    BridgeReply = 4,   // payload: a UTF-8 JSON object {"id": n, "ok": ...}
    CapturePage = 5,   // payload: a UTF-8 JSON object {"url": ..., "title": ...}
};

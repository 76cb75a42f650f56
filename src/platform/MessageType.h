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
    // A command-line start's request, answered by one CommandReply on the
    // same connection once the work is done (no Ack).
    Command = 5,      // payload: a UTF-8 JSON object {"command": ..., "library": ...}
    CommandReply = 6, // payload: a UTF-8 JSON object {"handled": ..., "exitCode": ...}
    OpenLibrary = 7,  // payload: the UTF-8 absolute path of a library file
    CapturePage = 8,  // payload: a UTF-8 JSON object {"url": ..., "title": ...}
};

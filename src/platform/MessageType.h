#pragma once

#include <QtGlobal>

// Message types on the instance channel. The numbers go over the wire: never
// renumber; new kinds (the browser bridge's captured pages and tab lists)
// take new numbers.
enum class MessageType : quint8
{
    HandOver = 1, // payload: UTF-8 text
    Ack = 2,      // payload: empty
};

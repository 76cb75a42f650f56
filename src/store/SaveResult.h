#pragma once

#include "store/FileStamp.h"

#include <QString>

// Outcome of writing the library file. Only the GUI turns a failure into a
// message; the store just says what went wrong.
struct SaveResult
{
    bool ok = true;
    QString errorString;
    // The file as this save left it.
    FileStamp written;

    static SaveResult success() { return {}; }
    static SaveResult failure(const QString &error) { return {false, error, {}}; }
    explicit operator bool() const { return ok; }
};

#pragma once

#include <QString>

// Outcome of writing the library file. Only the GUI turns a failure into a
// message; the store just says what went wrong.
struct SaveResult
{
    bool ok = true;
    QString errorString;

    static SaveResult success() { return {}; }
    static SaveResult failure(const QString &error) { return {false, error}; }
    explicit operator bool() const { return ok; }
};

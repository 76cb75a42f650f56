#pragma once

#include <QString>

// What a command-line command printed and how it ended: exit code 0 when
// it was done, 1 when it failed, 2 when the arguments made no sense.
struct CommandResult
{
    int exitCode = 0;
    // For standard output: what was asked for.
    QString output;
    // For standard error: why it failed.
    QString error;

    static CommandResult done(const QString &output) { return {0, output, {}}; }
    static CommandResult failed(const QString &error) { return {1, {}, error}; }
    static CommandResult usage(const QString &error) { return {2, {}, error}; }
};

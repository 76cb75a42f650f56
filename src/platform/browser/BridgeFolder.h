#pragma once

#include <QString>

#include <optional>

// The private folder where each running bridge host listens on a socket of
// its own (host-<pid>.socket) for the program. Only its owner may enter it:
// whoever can place a socket there can answer the program's questions.
class BridgeFolder
{
public:
    // SITEPINS_BRIDGE_DIR when set (the browser hands its environment on to
    // the host, so tests can give both ends a folder of their own), else
    // "bridge" in the program's private runtime folder, where the program
    // and every host find it alike. Created 0700 when missing; empty, with
    // the reason in *error, when it is not a folder of ours.
    static QString path(QString *error = nullptr);

    static QString hostSocketName(qint64 pid);
    // The host's process id for a file name of ours, nothing for any other name.
    static std::optional<qint64> hostPidOf(const QString &fileName);
};

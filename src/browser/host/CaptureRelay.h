#pragma once

#include "platform/CapturedPage.h"

#include <QString>

// Takes a page the user asked to keep to the program: to the running
// instance over its channel, or, when none runs (or it does not answer),
// to a new start of the program, which hands it on itself if an instance
// came up meanwhile and captures it at its start otherwise.
class CaptureRelay
{
public:
    static constexpr int kHandOverTimeoutMs = 3000;

    explicit CaptureRelay(const QString &instanceName = QStringLiteral("SitePins"));

    bool capture(const CapturedPage &page);
    // Exec of the integration key; the program beside this host when that
    // is missing.
    static QString programPath();

private:
    bool handToRunningInstance(const CapturedPage &page);
    bool startProgram(const CapturedPage &page);

    QString m_instanceName;
};

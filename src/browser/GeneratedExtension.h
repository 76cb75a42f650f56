#pragma once

#include "platform/FileTransaction.h"
#include "platform/browser/IntegrationKey.h"

#include <QByteArray>
#include <QString>

// The bridge extension as integration writes it for this installation:
// the bridge script with a toolbar button titled ButtonText and drawn from
// Icon (HotIcon for a moment after a click), and a page menu entry titled
// MenuText less its "&", described by MenuStatusBar. Chromium's copy
// carries the installation's public key, which names it; Firefox's is
// known by its fixed gecko id.
class GeneratedExtension
{
public:
    struct Texts
    {
        QString buttonText;
        QString menuText;
        QString menuStatusBar;
        QString iconFile;
        QString hotIconFile;
    };
    static Texts textsOf(const QList<IntegrationKey::Value> &values);

    static FileTransaction::FolderFiles chromium(const Texts &texts, const QByteArray &publicKeyDer);
    static FileTransaction::FolderFiles firefox(const Texts &texts);
    // The extension's version, as its manifest gives it.
    static QString version();

private:
    static FileTransaction::FolderFiles common(const Texts &texts);
};

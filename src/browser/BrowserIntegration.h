#pragma once

#include "platform/browser/IntegrationKey.h"

#include <QObject>
#include <QString>
#include <QStringList>

class FileTransaction;
class frmSitePins;

// Tools > Integrate with Browser and Undo Browser Integration: the
// integration key and its eight values, and what makes its button real in
// the browsers of this machine: the generated bridge extension (unpacked,
// packed for Chromium and Chrome, as an XPI for Firefox's profiles), the
// files that make the browsers install it, and the host manifests that let
// it start SitePinsBridge beside Exec. The files are written as one or not
// at all; the key is written after them as it always was, unchecked.
class BrowserIntegration : public QObject
{
    Q_OBJECT

public:
    explicit BrowserIntegration(frmSitePins &window);

    bool isIntegrated() const;
    void mnuToolsIntegrate_Click();
    void mnuUndoIntegration_Click();
    void integrateWithBrowser();
    void UnInstall();

    // Exec's file name: the running program's own.
    QString programName() const;

private:
    bool writeBrowserFiles(const QList<IntegrationKey::Value> &values, QString *error);
    void planChromium(FileTransaction &files, const QByteArray &crx, const QString &id, const QString &hostPath,
                      const QString &version) const;
    void planFirefox(FileTransaction &files, const QByteArray &xpi, const QString &hostPath) const;
    void writeRegistryValues(const QList<IntegrationKey::Value> &values);
    QStringList browserFiles(const QString &chromiumId) const;
    QStringList removeBrowserFiles();

    frmSitePins &m_window;
};

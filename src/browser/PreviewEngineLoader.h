#pragma once

#include <QPluginLoader>
#include <QString>

class PreviewEngineFactory;

// Loads the browser module the first time a page is to be previewed, after
// preparing the process for the web engine.
class PreviewEngineLoader
{
public:
    explicit PreviewEngineLoader(const QString &moduleFile);

    // Null when the module cannot be loaded; it is then not tried again.
    PreviewEngineFactory *factory();

private:
    static void prepareProcess();
    static void allowRunningAsRoot();
    static void provideShareContextPlaceholder();

    QPluginLoader m_loader;
    bool m_failed = false;
};

#include "browser/PreviewEngineLoader.h"

#include "browser/PreviewEngineFactory.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QOpenGLContext>

#include <unistd.h>

// Part of QtGui's exported interface that the web engine itself relies on.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);

PreviewEngineLoader::PreviewEngineLoader(const QString &moduleFile)
    : m_loader(moduleFile)
{
}

PreviewEngineFactory *PreviewEngineLoader::factory()
{
    if (m_failed)
        return nullptr;
    if (!m_loader.isLoaded())
        prepareProcess();
    auto *result = qobject_cast<PreviewEngineFactory *>(m_loader.instance());
    if (!result) {
        m_failed = true;
        qWarning("The preview's browser could not be loaded: %s", qPrintable(m_loader.errorString()));
    }
    return result;
}

void PreviewEngineLoader::prepareProcess()
{
    allowRunningAsRoot();
    provideShareContextPlaceholder();
    // The engine's start-up report would complain of drawing without
    // OpenGL, which is how the preview is meant to run.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
}

// The engine's sandbox cannot run as root (as in CI); for anyone else the
// sandbox stays on.
void PreviewEngineLoader::allowRunningAsRoot()
{
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

// The web engine expects an OpenGL context shared with the application,
// made before the application object. Making a real one at start would load
// the OpenGL driver into every run of the program, preview or not; an
// uncreated context instead tells the engine to draw without OpenGL.
void PreviewEngineLoader::provideShareContextPlaceholder()
{
    if (QOpenGLContext::globalShareContext())
        return;
    qt_gl_set_global_share_context(new QOpenGLContext(QCoreApplication::instance()));
}

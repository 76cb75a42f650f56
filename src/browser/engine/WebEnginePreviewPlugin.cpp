#include "browser/engine/WebEnginePreviewPlugin.h"

#include "browser/engine/WebEnginePreview.h"

#include <QQuickWindow>

std::unique_ptr<PreviewEngine> WebEnginePreviewPlugin::create(QWidget *parent, PreviewEvents &events)
{
    // The engine starts long after the application, so it shares no OpenGL
    // context with the program's windows: pages are drawn by the processor,
    // which also works without any graphics hardware or display.
    if (QQuickWindow::graphicsApi() != QSGRendererInterface::Software)
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    return std::make_unique<WebEnginePreview>(parent, events);
}

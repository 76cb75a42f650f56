#pragma once

#include "browser/PreviewEngineFactory.h"

#include <QObject>

// Makes the preview's browser from Qt WebEngine.
class WebEnginePreviewPlugin : public QObject, public PreviewEngineFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID PreviewEngineFactory_iid)
    Q_INTERFACES(PreviewEngineFactory)

public:
    std::unique_ptr<PreviewEngine> create(QWidget *parent, PreviewEvents &events) override;
};

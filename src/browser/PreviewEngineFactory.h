#pragma once

#include <QtPlugin>

#include <memory>

class PreviewEngine;
class PreviewEvents;
class QWidget;

// The entry point of the separately loaded browser module. The web engine
// and its libraries stay out of the program until the first page is
// previewed.
class PreviewEngineFactory
{
public:
    virtual ~PreviewEngineFactory() = default;
    virtual std::unique_ptr<PreviewEngine> create(QWidget *parent, PreviewEvents &events) = 0;
};

#define PreviewEngineFactory_iid "SitePins.PreviewEngineFactory/1"
Q_DECLARE_INTERFACE(PreviewEngineFactory, PreviewEngineFactory_iid)

#pragma once

#include "layout/logic/SplitterChild.h"

class QWidget;
class SplitterWidget;

// A widget inside a SplitterWidget, seen as one of its panes' controls.
class SplitterChildWidget : public SplitterChild
{
public:
    SplitterChildWidget(QWidget *widget, const SplitterWidget &owner);

    std::string name() const override;
    std::string typeName() const override;
    void move(double left, double top, double width, double height) override;

private:
    QWidget *m_widget;
    const SplitterWidget &m_owner;
};

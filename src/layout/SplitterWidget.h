#pragma once

#include "layout/logic/SplitterHost.h"
#include "layout/logic/TwipsScale.h"

#include <QFrame>

#include <memory>

class QRect;
class Splitter;
class SplitterBarWidget;

// A two-pane container hosting a Splitter. The panes are filled by child
// widgets of this one, found by objectName without regard to case; a
// child's type name is its "typeName" property when set, else its class
// name. The bar is the child "picSplitter". Twips follow the screen's
// logical dpi.
class SplitterWidget : public QFrame, private SplitterHost
{
    Q_OBJECT

public:
    explicit SplitterWidget(QWidget *parent = nullptr);
    ~SplitterWidget() override;

    Splitter &splitter() { return *m_splitter; }
    const Splitter &splitter() const { return *m_splitter; }
    QWidget *barWidget() const;

    // Names Child1 and Child2 after the widgets' objectNames; a null widget
    // leaves its pane empty.
    void setChildWidgets(const QWidget *child1, const QWidget *child2);

    TwipsScale twipsScale() const;
    // A rectangle in twips relative to the client area, as pixels relative
    // to this widget. Edges are rounded, so adjacent panes never gap.
    QRect pixelRect(double left, double top, double width, double height) const;

signals:
    // After every layout pass of the splitter.
    void resized();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    double clientWidth() const override;
    double clientHeight() const override;
    std::vector<std::unique_ptr<SplitterChild>> containedControls() const override;
    SplitterBar &splitterBar() override;
    void setFrameBorder(std::int32_t borderStyle) override;

    SplitterBarWidget *m_bar;
    std::unique_ptr<Splitter> m_splitter;
};

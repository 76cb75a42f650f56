#pragma once

#include "layout/logic/SplitterBar.h"

#include <QFrame>
#include <QPointer>

class Splitter;
class SplitterWidget;

// The draggable bar of a SplitterWidget, objectName "picSplitter". It keeps
// its rectangle in twips, so the splitter reads back exactly what it placed,
// and hands mouse and key input to the splitter in twips.
class SplitterBarWidget : public QFrame, public SplitterBar
{
    Q_OBJECT

public:
    explicit SplitterBarWidget(SplitterWidget *owner);

    void attach(Splitter *splitter);

    double left() const override { return m_left; }
    double top() const override { return m_top; }
    void setRect(double left, double top, double width, double height) override;
    void setLeft(double left) override;
    void setTop(double top) override;
    void setVisible(bool visible) override;
    void setPointer(Pointer pointer) override;
    void setBackColor(std::int32_t color) override;
    void setButtonFaceBackColor() override;
    void setBorder(std::int32_t border) override;
    void setAppearance(std::int32_t appearance) override;
    void bringToFront() override;
    Point cursorPixels() const override;
    double twipsPerPixelX() const override;
    double twipsPerPixelY() const override;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void takeFocusForDrag();
    void giveFocusBack();
    void applyGeometry();
    void applyFrame();
    void fillWith(const QColor &color);
    QPointF clientTwips(const QPointF &widgetPixels) const;

    SplitterWidget *m_owner;
    Splitter *m_splitter = nullptr;
    QPointer<QWidget> m_focusBeforeDrag;
    double m_left = 0;
    double m_top = 0;
    double m_width = 0;
    double m_height = 0;
    std::int32_t m_border = 0;
    std::int32_t m_appearance = 0;
};

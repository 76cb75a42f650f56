#include "layout/SplitterBarWidget.h"

#include "layout/SplitterWidget.h"
#include "layout/logic/Splitter.h"
#include "layout/logic/SplitterOverflowError.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

int buttonCodes(Qt::MouseButtons buttons)
{
    int codes = Splitter::NoButton;
    if (buttons & Qt::LeftButton)
        codes |= Splitter::LeftButton;
    if (buttons & Qt::RightButton)
        codes |= Splitter::RightButton;
    if (buttons & Qt::MiddleButton)
        codes |= Splitter::MiddleButton;
    return codes;
}

// Qt event handlers must not throw; an overflow ends the handling of the
// event that caused it.
template<typename Handling>
void handleInput(Handling &&handling)
{
    try {
        handling();
    } catch (const SplitterOverflowError &) {
    }
}

} // namespace

SplitterBarWidget::SplitterBarWidget(SplitterWidget *owner)
    : QFrame(owner)
    , m_owner(owner)
{
    setObjectName(QStringLiteral("picSplitter"));
    setButtonFaceBackColor();
    applyFrame();
}

void SplitterBarWidget::attach(Splitter *splitter)
{
    m_splitter = splitter;
}

void SplitterBarWidget::setRect(double left, double top, double width, double height)
{
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    applyGeometry();
}

void SplitterBarWidget::setLeft(double left)
{
    m_left = left;
    applyGeometry();
}

void SplitterBarWidget::setTop(double top)
{
    m_top = top;
    applyGeometry();
}

void SplitterBarWidget::setVisible(bool visible)
{
    QFrame::setVisible(visible);
}

void SplitterBarWidget::setPointer(Pointer pointer)
{
    setCursor(pointer == Pointer::SizeWestEast ? Qt::SizeHorCursor : Qt::SizeVerCursor);
}

void SplitterBarWidget::setBackColor(std::int32_t color)
{
    fillWith(QColor(color & 0xff, (color >> 8) & 0xff, (color >> 16) & 0xff));
}

void SplitterBarWidget::setButtonFaceBackColor()
{
    fillWith(QApplication::palette(this).color(QPalette::Button));
}

void SplitterBarWidget::setBorder(std::int32_t border)
{
    m_border = border;
    applyFrame();
}

void SplitterBarWidget::setAppearance(std::int32_t appearance)
{
    m_appearance = appearance;
    applyFrame();
}

void SplitterBarWidget::bringToFront()
{
    raise();
}

SplitterBar::Point SplitterBarWidget::cursorPixels() const
{
    const QPoint client = mapFromGlobal(QCursor::pos()) - contentsRect().topLeft();
    return {static_cast<double>(client.x()), static_cast<double>(client.y())};
}

double SplitterBarWidget::twipsPerPixelX() const
{
    return m_owner->twipsScale().twipsPerPixelX();
}

double SplitterBarWidget::twipsPerPixelY() const
{
    return m_owner->twipsScale().twipsPerPixelY();
}

void SplitterBarWidget::mousePressEvent(QMouseEvent *event)
{
    if (!m_splitter)
        return;
    if (event->button() == Qt::LeftButton)
        takeFocusForDrag();
    const QPointF at = clientTwips(event->position());
    handleInput([&] { m_splitter->mouseDown(buttonCodes(event->button()), at.x(), at.y()); });
}

void SplitterBarWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_splitter)
        return;
    const QPointF at = clientTwips(event->position());
    handleInput([&] { m_splitter->mouseMove(buttonCodes(event->buttons()), at.x(), at.y()); });
}

void SplitterBarWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_splitter)
        return;
    if (event->button() == Qt::LeftButton)
        giveFocusBack();
    const QPointF at = clientTwips(event->position());
    handleInput([&] { m_splitter->mouseUp(buttonCodes(event->button()), at.x(), at.y()); });
}

void SplitterBarWidget::keyPressEvent(QKeyEvent *event)
{
    if (!m_splitter || event->key() != Qt::Key_Escape) {
        QFrame::keyPressEvent(event);
        return;
    }
    handleInput([&] { m_splitter->keyPress(Splitter::kEscapeKey); });
}

// Escape has to reach the bar during a drag, but a click on the bar should
// not leave the focus away from the control the user was working in.
void SplitterBarWidget::takeFocusForDrag()
{
    m_focusBeforeDrag = window()->focusWidget();
    setFocus(Qt::MouseFocusReason);
}

void SplitterBarWidget::giveFocusBack()
{
    if (m_focusBeforeDrag && m_focusBeforeDrag != this)
        m_focusBeforeDrag->setFocus(Qt::MouseFocusReason);
    m_focusBeforeDrag = nullptr;
}

void SplitterBarWidget::applyGeometry()
{
    setGeometry(m_owner->pixelRect(m_left, m_top, m_width, m_height));
}

void SplitterBarWidget::applyFrame()
{
    if (m_border != 1) {
        setFrameStyle(QFrame::NoFrame);
        return;
    }
    if (m_appearance == 1) {
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(2);
    } else {
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(1);
    }
}

void SplitterBarWidget::fillWith(const QColor &color)
{
    QPalette background = palette();
    background.setColor(QPalette::Window, color);
    setPalette(background);
    setAutoFillBackground(true);
}

QPointF SplitterBarWidget::clientTwips(const QPointF &widgetPixels) const
{
    const QPointF client = widgetPixels - QPointF(contentsRect().topLeft());
    const TwipsScale scale = m_owner->twipsScale();
    return {scale.toTwipsX(client.x()), scale.toTwipsY(client.y())};
}

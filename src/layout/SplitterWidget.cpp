#include "layout/SplitterWidget.h"

#include "layout/SplitterBarWidget.h"
#include "layout/SplitterChildWidget.h"
#include "layout/logic/Splitter.h"
#include "layout/logic/SplitterOverflowError.h"

#include <QRect>

SplitterWidget::SplitterWidget(QWidget *parent)
    : QFrame(parent)
    , m_bar(new SplitterBarWidget(this))
    , m_splitter(std::make_unique<Splitter>(static_cast<SplitterHost &>(*this)))
{
    m_bar->attach(m_splitter.get());
    m_splitter->setResizeHandler([this] { emit resized(); });
    m_splitter->initializeNewInstance();
}

SplitterWidget::~SplitterWidget()
{
    m_bar->attach(nullptr);
}

QWidget *SplitterWidget::barWidget() const
{
    return m_bar;
}

void SplitterWidget::setChildWidgets(const QWidget *child1, const QWidget *child2)
{
    m_splitter->setChild1(child1 ? child1->objectName().toStdString() : std::string());
    m_splitter->setChild2(child2 ? child2->objectName().toStdString() : std::string());
}

TwipsScale SplitterWidget::twipsScale() const
{
    return TwipsScale(logicalDpiX(), logicalDpiY());
}

QRect SplitterWidget::pixelRect(double left, double top, double width, double height) const
{
    const TwipsScale scale = twipsScale();
    const int x1 = scale.toPixelsX(left);
    const int y1 = scale.toPixelsY(top);
    const int x2 = scale.toPixelsX(left + width);
    const int y2 = scale.toPixelsY(top + height);
    return QRect(contentsRect().topLeft() + QPoint(x1, y1), QSize(x2 - x1, y2 - y1));
}

void SplitterWidget::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    // An extent beyond the splitter's 16-bit range ends this resize's
    // handling; the panes keep their last layout.
    try {
        m_splitter->handleResize();
    } catch (const SplitterOverflowError &) {
    }
}

double SplitterWidget::clientWidth() const
{
    return twipsScale().toTwipsX(contentsRect().width());
}

double SplitterWidget::clientHeight() const
{
    return twipsScale().toTwipsY(contentsRect().height());
}

std::vector<std::unique_ptr<SplitterChild>> SplitterWidget::containedControls() const
{
    std::vector<std::unique_ptr<SplitterChild>> controls;
    for (QObject *object : children()) {
        auto *widget = qobject_cast<QWidget *>(object);
        if (widget && widget != m_bar && !widget->isWindow())
            controls.push_back(std::make_unique<SplitterChildWidget>(widget, *this));
    }
    return controls;
}

SplitterBar &SplitterWidget::splitterBar()
{
    return *m_bar;
}

void SplitterWidget::setFrameBorder(std::int32_t borderStyle)
{
    if (borderStyle == 1) {
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(1);
    } else {
        setFrameStyle(QFrame::NoFrame);
    }
}

#include "layout/SplitterChildWidget.h"

#include "layout/SplitterWidget.h"

#include <QMetaObject>
#include <QRect>
#include <QVariant>
#include <QWidget>

#include <algorithm>

SplitterChildWidget::SplitterChildWidget(QWidget *widget, const SplitterWidget &owner)
    : m_widget(widget)
    , m_owner(owner)
{
}

std::string SplitterChildWidget::name() const
{
    return m_widget->objectName().toStdString();
}

std::string SplitterChildWidget::typeName() const
{
    const QString declared = m_widget->property("typeName").toString();
    if (!declared.isEmpty())
        return declared.toStdString();
    return m_widget->metaObject()->className();
}

void SplitterChildWidget::move(double left, double top, double width, double height)
{
    const QRect rect = m_owner.pixelRect(left, top, width, height);
    m_widget->setGeometry(rect.x(), rect.y(), std::max(rect.width(), 0), std::max(rect.height(), 0));
}

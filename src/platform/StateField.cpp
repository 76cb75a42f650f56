#include "platform/StateField.h"

StateField::StateField(const QString &name, QObject *parent)
    : QObject(parent)
{
    setObjectName(name);
}

void StateField::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    emit changed(m_text);
}

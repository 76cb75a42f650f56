#include "editing/DialogControls.h"

#include "mainwindow/FontFallback.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

QLabel *DialogControls::plainLabel(QWidget *parent, const QString &name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(FontFallback::designFont());
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel *DialogControls::nameLabel(QWidget *parent, const QString &name, const QString &text)
{
    QLabel *label = plainLabel(parent, name, text);
    QFont bold = FontFallback::designFont();
    bold.setBold(true);
    label->setFont(bold);
    label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    return label;
}

QPushButton *DialogControls::button(QWidget *parent, const QString &name, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setFont(FontFallback::designFont());
    button->setAutoDefault(false);
    return button;
}

QHBoxLayout *DialogControls::buttonRow(QPushButton *accept, QPushButton *cancel)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(accept);
    row->addWidget(cancel);
    return row;
}

QVBoxLayout *DialogControls::column(QWidget *dialog, int spacing, QWidget *instruction, QWidget *list)
{
    auto *column = new QVBoxLayout(dialog);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(spacing);
    column->addWidget(instruction);
    column->addWidget(list, 1);
    return column;
}

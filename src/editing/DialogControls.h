#pragma once

#include <QString>

class QHBoxLayout;
class QLabel;
class QVBoxLayout;
class QPushButton;
class QWidget;

// The controls the folder dialogs are built from, in the design font.
class DialogControls
{
public:
    static QLabel *plainLabel(QWidget *parent, const QString &name, const QString &text);
    // A folder or SitePin name, which can be long: bold, and cut off rather
    // than widening the dialog.
    static QLabel *nameLabel(QWidget *parent, const QString &name, const QString &text);
    // The dialogs choose their default button by hand as their state
    // changes, so no button becomes the default by itself.
    static QPushButton *button(QWidget *parent, const QString &name, const QString &text);
    // The row under a dialog: its two buttons at the right.
    static QHBoxLayout *buttonRow(QPushButton *accept, QPushButton *cancel);
    // A dialog's one column: its instruction, then the list that takes the
    // room left; the caller adds what goes below.
    static QVBoxLayout *column(QWidget *dialog, int spacing, QWidget *instruction, QWidget *list);
};

#pragma once

#include "help/logic/HelpCommand.h"

#include <QColor>
#include <QLabel>

#include <optional>

// A text pop-up: a small window like a tooltip, at the given point, in the
// record's colours and font. Any click or key closes it.
class HelpPopup : public QLabel
{
    Q_OBJECT

public:
    HelpPopup(const QString &text, const HelpPopupRecord &record, QWidget *owner);

    // "face, size, charset, Bold Italic Underline"; missing parts keep the
    // tooltip font's.
    static QFont fontFrom(const QString &text, const QFont &base);
    // 0x00BBGGRR; -1 (or any negative value) gives nothing.
    static std::optional<QColor> colorFrom(qint32 value);

    void showAt(const QPoint &position);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

#include "help/HelpPopup.h"

#include <QGuiApplication>
#include <QScreen>
#include <QToolTip>

namespace {

constexpr int kDefaultMargin = 6;
constexpr int kMaximumWidth = 380;

int marginOrDefault(int value)
{
    return value < 0 ? kDefaultMargin : value;
}

} // namespace

HelpPopup::HelpPopup(const QString &text, const HelpPopupRecord &record, QWidget *owner)
    : QLabel(owner, Qt::Popup | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("HelpPopup"));
    setAttribute(Qt::WA_DeleteOnClose);
    setTextFormat(Qt::PlainText);
    setText(text);
    setWordWrap(true);
    setFrameShape(QFrame::Box);
    setMaximumWidth(kMaximumWidth);
    setContentsMargins(marginOrDefault(record.margins.left()), marginOrDefault(record.margins.top()),
                       marginOrDefault(record.margins.right()), marginOrDefault(record.margins.bottom()));
    setFont(fontFrom(record.font, QToolTip::font()));
    QPalette colours = QToolTip::palette();
    if (const auto textColour = colorFrom(record.textColor))
        colours.setColor(QPalette::WindowText, *textColour);
    if (const auto backColour = colorFrom(record.backColor))
        colours.setColor(QPalette::Window, *backColour);
    setPalette(colours);
    setAutoFillBackground(true);
}

QFont HelpPopup::fontFrom(const QString &text, const QFont &base)
{
    QFont font = base;
    const QStringList parts = text.split(QLatin1Char(','));
    if (!parts.value(0).trimmed().isEmpty())
        font.setFamily(parts.value(0).trimmed());
    bool sized = false;
    const double points = parts.value(1).trimmed().toDouble(&sized);
    if (sized && points > 0)
        font.setPointSizeF(points);
    const QString styles = parts.value(3);
    font.setBold(styles.contains(QLatin1String("bold"), Qt::CaseInsensitive));
    font.setItalic(styles.contains(QLatin1String("italic"), Qt::CaseInsensitive));
    font.setUnderline(styles.contains(QLatin1String("underline"), Qt::CaseInsensitive));
    return font;
}

std::optional<QColor> HelpPopup::colorFrom(qint32 value)
{
    if (value < 0)
        return std::nullopt;
    return QColor(value & 0xff, (value >> 8) & 0xff, (value >> 16) & 0xff);
}

// The point is the middle of the pop-up's top edge; the pop-up stays on screen.
void HelpPopup::showAt(const QPoint &position)
{
    adjustSize();
    QRect place(QPoint(position.x() - width() / 2, position.y()), size());
    if (const QScreen *screen = QGuiApplication::screenAt(position)) {
        const QRect room = screen->availableGeometry();
        place.moveLeft(qBound(room.left(), place.left(), qMax(room.left(), room.right() - place.width())));
        place.moveTop(qBound(room.top(), place.top(), qMax(room.top(), room.bottom() - place.height())));
    }
    move(place.topLeft());
    show();
}

void HelpPopup::mousePressEvent(QMouseEvent *)
{
    close();
}

void HelpPopup::keyPressEvent(QKeyEvent *)
{
    close();
}

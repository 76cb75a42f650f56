#include "ArtworkImage.h"

#include <QPainter>
#include <QSvgRenderer>

QImage ArtworkImage::render(QSvgRenderer &artwork, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    artwork.render(&painter);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

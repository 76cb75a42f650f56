#include "browser/ExtensionIcons.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>

#include <vector>

namespace {

std::vector<QImage> imagesOf(const QString &icoPath)
{
    QImageReader reader(icoPath, "ico");
    std::vector<QImage> images;
    for (int index = 0; index < qMax(1, reader.imageCount()); ++index) {
        if (index > 0 && !reader.jumpToImage(index))
            break;
        QImage image = reader.read();
        if (!image.isNull())
            images.push_back(image.convertToFormat(QImage::Format_ARGB32));
    }
    return images;
}

const QImage &bestFor(const std::vector<QImage> &images, int size)
{
    const QImage *best = &images.front();
    for (const QImage &image : images) {
        const int side = qMax(image.width(), image.height());
        const int bestSide = qMax(best->width(), best->height());
        const bool fits = side >= size;
        const bool bestFits = bestSide >= size;
        if ((fits && (!bestFits || side < bestSide)) || (!fits && !bestFits && side > bestSide))
            best = &image;
    }
    return *best;
}

QByteArray pngOf(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

std::map<int, QByteArray> ExtensionIcons::fromIconFile(const QString &icoPath, const QList<int> &sizes)
{
    const std::vector<QImage> images = imagesOf(icoPath);
    std::map<int, QByteArray> pngs;
    if (images.empty())
        return pngs;
    for (const int size : sizes) {
        const QImage &best = bestFor(images, size);
        const QImage scaled = best.size() == QSize(size, size)
                                  ? best
                                  : best.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        pngs[size] = pngOf(scaled);
    }
    return pngs;
}

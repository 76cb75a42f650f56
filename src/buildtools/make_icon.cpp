// make_icon: draws an SVG into a Windows icon file holding the image at
// each usual size, each one a PNG (as icon files may hold them).
//
//   make_icon ARTWORK.svg OUTPUT.ico
#include "ArtworkImage.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <QSvgRenderer>
#include <QtEndian>

#include <cstdio>

namespace {

const int kSizes[] = {16, 24, 32, 48, 64, 128, 256};
constexpr int kDirectorySize = 6;
constexpr int kEntrySize = 16;

QByteArray pngAt(QSvgRenderer &artwork, int size)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ArtworkImage::render(artwork, size).save(&buffer, "PNG");
    return png;
}

template<typename T>
void append(QByteArray &bytes, T value)
{
    char little[sizeof(T)];
    qToLittleEndian(value, little);
    bytes.append(little, sizeof(T));
}

// ICONDIR, one ICONDIRENTRY per image, then the images.
QByteArray iconFile(const QList<QByteArray> &pngs)
{
    QByteArray icon;
    append<quint16>(icon, 0);
    append<quint16>(icon, 1);
    append<quint16>(icon, quint16(pngs.size()));
    quint32 offset = quint32(kDirectorySize + kEntrySize * pngs.size());
    for (int index = 0; index < pngs.size(); ++index) {
        const int size = kSizes[index];
        icon.append(char(size >= 256 ? 0 : size)); // 0 stands for 256
        icon.append(char(size >= 256 ? 0 : size));
        icon.append(char(0)); // no palette
        icon.append(char(0));
        append<quint16>(icon, 1);  // planes
        append<quint16>(icon, 32); // bits per pixel
        append<quint32>(icon, quint32(pngs[index].size()));
        append<quint32>(icon, offset);
        offset += quint32(pngs[index].size());
    }
    for (const QByteArray &png : pngs)
        icon += png;
    return icon;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fputs("usage: make_icon ARTWORK.svg OUTPUT.ico\n", stderr);
        return 64;
    }
    QSvgRenderer artwork(QString::fromLocal8Bit(argv[1]));
    if (!artwork.isValid()) {
        std::fprintf(stderr, "make_icon: cannot read %s\n", argv[1]);
        return 1;
    }
    QList<QByteArray> pngs;
    for (const int size : kSizes)
        pngs << pngAt(artwork, size);
    QSaveFile output(QString::fromLocal8Bit(argv[2]));
    const QByteArray icon = iconFile(pngs);
    if (!output.open(QIODevice::WriteOnly) || output.write(icon) != icon.size() || !output.commit()) {
        std::fprintf(stderr, "make_icon: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}

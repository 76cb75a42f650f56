// render_png: draws an SVG into square PNG files, one per size, laid out as
// an icon theme wants them.
//
//   render_png ARTWORK.svg THEME_FOLDER ICON_NAME SIZE...
// writes THEME_FOLDER/<SIZE>x<SIZE>/apps/ICON_NAME.png for each SIZE.
#include "ArtworkImage.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <QSvgRenderer>

#include <cstdio>

namespace {

bool writePng(const QImage &image, const QString &path)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && image.save(&file, "PNG") && file.commit();
}

} // namespace

int main(int argc, char *argv[])
{
    // Drawing needs no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 5) {
        std::fprintf(stderr, "Usage: render_png ARTWORK.svg THEME_FOLDER ICON_NAME SIZE...\n");
        return 2;
    }
    QSvgRenderer artwork(arguments.at(1));
    if (!artwork.isValid()) {
        std::fprintf(stderr, "render_png: %s is not a drawing that can be read\n", qPrintable(arguments.at(1)));
        return 1;
    }
    const QDir theme(arguments.at(2));
    const QString name = arguments.at(3);
    for (qsizetype i = 4; i < arguments.size(); ++i) {
        bool ok = false;
        const int size = arguments.at(i).toInt(&ok);
        const QString path = theme.filePath(QStringLiteral("%1x%1/apps/%2.png").arg(size).arg(name));
        if (!ok || size <= 0 || !writePng(ArtworkImage::render(artwork, size), path)) {
            std::fprintf(stderr, "render_png: could not write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}

#pragma once

#include <QImage>

class QSvgRenderer;

// The build's icon tools draw our SVG artwork the same way at every size.
class ArtworkImage
{
public:
    // A square, antialiased, non-premultiplied image of the artwork.
    static QImage render(QSvgRenderer &artwork, int size);
};

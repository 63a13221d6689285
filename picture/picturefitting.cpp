#include "picture/picturefitting.h"

#include "forms/twips.h"
#include "imaging/picturesource.h"

#include <algorithm>

namespace PictureFitting {

Path pathFor(const QSize &himetric)
{
    return himetric.width() >= FitLength || himetric.height() >= FitLength ? Path::Fitted : Path::NaturalSize;
}

qint16 percentFor(const QSize &himetric)
{
    const double longSide = himetric.height() > himetric.width() ? himetric.height() : himetric.width();
    return qint16(Twips::roundHalfEven(FitLength / longSide * 100));
}

qint32 paintedLength(qint16 percent, float holderTwips)
{
    const float length = float(percent) / 100.0f * holderTwips;
    return Twips::roundHalfEven(length);
}

qint32 centringOffset(qint32 painted)
{
    return Twips::roundHalfEven((FitSquare - painted) / 2.0);
}

Placement place(const QSize &pixels, const QSize &himetric, int pixelTwips)
{
    Placement placement;
    placement.path = pathFor(himetric);
    const QSizeF naturalTwips(float(pixels.width()) * pixelTwips, float(pixels.height()) * pixelTwips);
    if (placement.path == Path::NaturalSize) {
        // The HIMETRIC that the picture lacks of 3863, quartered, serve directly as twips.
        const float x = float(FitLength - himetric.width()) / 4.0f;
        const float y = float(FitLength - himetric.height()) / 4.0f;
        placement.twips = QRectF(QPointF(x, y), naturalTwips);
        return placement;
    }
    placement.percent = percentFor(himetric);
    placement.twips = fittedRect(placement.percent, naturalTwips, pixelTwips);
    return placement;
}

QRect fittedRect(qint16 percent, const QSizeF &holderTwips, int pixelTwips)
{
    const QRect whole = centredRect(paintedLength(percent, float(holderTwips.width())),
                                    paintedLength(percent, float(holderTwips.height())));
    if (qAbs(std::max(whole.width(), whole.height()) - FitSquare) <= 2 * pixelTwips)
        return whole;
    // A whole per cent is too coarse for a big picture: a 6000-pixel photo at 2 % would fill only
    // 120 of the square's 146 pixels, and from 29,200 pixels on (0 %) nothing would show at all.
    // Such a picture takes the exact ratio of 3863 HIMETRIC to its long side, so that it fills the
    // square as every other picture does.
    const double fitTwips = FitLength * double(Twips::PerInch) / Himetric::PerInch;
    const double scale = fitTwips / std::max(holderTwips.width(), holderTwips.height());
    return centredRect(Twips::roundHalfEven(scale * holderTwips.width()),
                       Twips::roundHalfEven(scale * holderTwips.height()));
}

QRect centredRect(qint32 w, qint32 h)
{
    if (w > h)
        return {0, centringOffset(h), w, h};
    return {centringOffset(w), 0, w, h};
}

} // namespace PictureFitting

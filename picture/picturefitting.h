#pragma once

#include <QRect>
#include <QRectF>
#include <QSize>
#include <QtGlobal>

/**
 * @brief Where a chosen picture lands in the preview: the fitting arithmetic, in twips.
 *
 * A picture with a side of 3863 HIMETRIC (146 pixels at 96 dpi) or more is stretched by a whole
 * percentage to fit a 2190-twip square at the preview's top-left corner, centred across it; a smaller
 * one keeps its natural size and is offset by a quarter of what it lacks of 3863, those HIMETRIC
 * taken as twips. Whole numbers made from fractions round to the nearest, a half to the even one.
 */
namespace PictureFitting {

inline constexpr int FitLength = 3863; ///< HIMETRIC
inline constexpr int FitSquare = 2190; ///< twips

enum class Path { Fitted, NaturalSize };

struct Placement
{
    Path path = Path::NaturalSize;
    qint16 percent = 100; ///< on the fitted path
    QRectF twips; ///< where the picture is painted, in the preview's twips
};

Path pathFor(const QSize &himetric);

/** 3863 over the longer side (the width for a square), in whole per cent. */
qint16 percentFor(const QSize &himetric);

/** @p percent of @p holderTwips, worked in single precision, to the nearest twip. */
qint32 paintedLength(qint16 percent, float holderTwips);

/** The offset that centres @p painted twips across the 2190-twip square, to the nearest twip. */
qint32 centringOffset(qint32 painted);

/**
 * Where a picture whose natural size is @p holderTwips is painted at @p percent: stretched to that
 * share of its size and centred across the square along its shorter side. Where the whole percentage
 * would leave the long side more than two pixels off the square, as it does for pictures of some
 * thousands of pixels, the picture is stretched by the exact ratio instead.
 */
QRect fittedRect(qint16 percent, const QSizeF &holderTwips, int pixelTwips);

/** A picture painted @p w by @p h twips, centred across the square along its shorter side. */
QRect centredRect(qint32 w, qint32 h);

/**
 * The placement of a picture of @p pixels whose natural size is @p himetric, on a screen of
 * @p pixelTwips twips per pixel (its natural size in twips is its pixels times that).
 */
Placement place(const QSize &pixels, const QSize &himetric, int pixelTwips);

} // namespace PictureFitting

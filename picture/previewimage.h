#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSize>

/**
 * @brief The preview's image: one buffer that every choice paints into, that the box shows and "設定" stores.
 *
 * Painting works in the preview's twips. The buffer has as many pixels as the screen shows for the
 * preview (twice as many each way at a device pixel ratio of 2); the stored picture has the preview's
 * size in device-independent pixels, 148 by 141 at 96 dpi.
 */
class PreviewImage
{
public:
    static constexpr QSize SizeTwips{2220, 2115};

    PreviewImage(int pixelTwips, qreal devicePixelRatio, const QColor &background);

    /** Only the background colour. */
    void clear();

    /** @p picture at its natural size (a pixel for a pixel), its top-left corner at @p topLeft twips. */
    void paintNaturalSize(const QImage &picture, const QPointF &topLeft);

    /** @p picture stretched smoothly over @p twips; what falls outside the preview is cut off. */
    void paintStretched(const QImage &picture, const QRectF &twips);

    /** What the box shows, with its device pixel ratio set. */
    const QImage &image() const { return m_image; }

    /** The pixels of a rectangle in twips, for a picture that will be stretched over it. */
    QSize devicePixels(const QSizeF &twips) const;

    /** The preview as the picture file keeps it: the preview's size in pixels, 32 bits per pixel. */
    QImage stored() const;

private:
    void paint(const QImage &picture, const QRectF &twips, bool smooth);

    int m_pixelTwips;
    QColor m_background;
    QImage m_image;
};

#include "picture/previewimage.h"

#include "forms/twips.h"

#include <QPainter>

#include <cmath>

PreviewImage::PreviewImage(int pixelTwips, qreal devicePixelRatio, const QColor &background)
    : m_pixelTwips(pixelTwips)
    , m_background(background)
{
    const QSize pixels(Twips::toPixels(SizeTwips.width(), pixelTwips), Twips::toPixels(SizeTwips.height(), pixelTwips));
    m_image = QImage(pixels * devicePixelRatio, QImage::Format_RGB32);
    m_image.setDevicePixelRatio(devicePixelRatio);
    clear();
}

void PreviewImage::clear()
{
    m_image.fill(m_background);
}

void PreviewImage::paintNaturalSize(const QImage &picture, const QPointF &topLeft)
{
    const QSizeF natural(picture.width() * m_pixelTwips, picture.height() * m_pixelTwips);
    paint(picture, QRectF(topLeft, natural), false);
}

void PreviewImage::paintStretched(const QImage &picture, const QRectF &twips)
{
    paint(picture, twips, true);
}

void PreviewImage::paint(const QImage &picture, const QRectF &twips, bool smooth)
{
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    painter.scale(1.0 / m_pixelTwips, 1.0 / m_pixelTwips);
    painter.drawImage(twips, picture);
}

QSize PreviewImage::devicePixels(const QSizeF &twips) const
{
    const qreal ratio = m_image.devicePixelRatio();
    return {int(std::ceil(twips.width() / m_pixelTwips * ratio)),
            int(std::ceil(twips.height() / m_pixelTwips * ratio))};
}

QImage PreviewImage::stored() const
{
    const QSize pixels = m_image.deviceIndependentSize().toSize();
    QImage image =
        m_image.size() == pixels ? m_image : m_image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image.setDevicePixelRatio(1.0);
    return image;
}

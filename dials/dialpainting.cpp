#include "dials/dialpainting.h"

#include <QPainter>

#include <cmath>

DialPainting::DialPainting(int pixelTwips)
    : m_pixelTwips(pixelTwips)
{ }

void DialPainting::paintLine(QPainter &painter, const QPointF &from, const QPointF &to, const QColor &colour) const
{
    // Crisp pixels, as the hands have always been drawn; it also halves the cost of a repaint.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.scale(1.0 / m_pixelTwips, 1.0 / m_pixelTwips);
    painter.setPen(QPen(colour, LineWidthPixels * m_pixelTwips, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(from, to);
    painter.restore();
}

QRect DialPainting::lineBounds(const QPointF &from, const QPointF &to) const
{
    const double left = std::floor(std::min(from.x(), to.x()) / m_pixelTwips);
    const double top = std::floor(std::min(from.y(), to.y()) / m_pixelTwips);
    const double right = std::ceil(std::max(from.x(), to.x()) / m_pixelTwips);
    const double bottom = std::ceil(std::max(from.y(), to.y()) / m_pixelTwips);
    // Half the pen's width on every side, plus a pixel for rounding to whole pixels.
    const int margin = LineWidthPixels / 2 + 1;
    return QRect(QPoint(int(left), int(top)), QPoint(int(right), int(bottom)))
        .adjusted(-margin, -margin, margin, margin);
}

void DialPainting::paintKeptLine(QPainter &painter, KeptLine &kept, const QPointF &from, const QPointF &to,
                                 const QColor &colour) const
{
    const qreal ratio = painter.device()->devicePixelRatioF();
    // A translucent colour would be blended twice over: such a line is always stroked.
    if (kept.from != from || kept.to != to || kept.colour != colour || kept.pixelRatio != ratio ||
        colour.alpha() != 255) {
        kept = {from, to, colour, ratio, QImage()};
        paintLine(painter, from, to, colour);
        return;
    }
    const QRect bounds = lineBounds(from, to);
    if (kept.picture.isNull()) {
        kept.picture = QImage(bounds.size() * ratio, QImage::Format_ARGB32_Premultiplied);
        kept.picture.setDevicePixelRatio(ratio);
        kept.picture.fill(Qt::transparent);
        QPainter picture(&kept.picture);
        picture.translate(-bounds.topLeft());
        paintLine(picture, from, to, colour);
    }
    painter.drawImage(bounds.topLeft(), kept.picture);
}

void DialPainting::paintOutline(QPainter &painter, const QRect &pixels, const QColor &colour)
{
    // The outline's outer edge is the shape's rectangle, so the last row and column lie inside it.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(colour, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(pixels.adjusted(0, 0, -1, -1));
    painter.restore();
}

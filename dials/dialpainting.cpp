#include "platform/formpainting.h"

#include "platform/twips.h"

#include <QPainter>

#include <cmath>

namespace FormPainting {

void paintLine(QPainter &painter, const QPointF &from, const QPointF &to, const QColor &colour, int pixelTwips)
{
    // Crisp pixels, as line controls have always been drawn; it also halves the cost of a repaint.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.scale(1.0 / pixelTwips, 1.0 / pixelTwips);
    painter.setPen(QPen(colour, LineWidthPixels * pixelTwips, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(from, to);
    painter.restore();
}

void paintOutline(QPainter &painter, const QRect &twips, const QColor &colour, int pixelTwips)
{
    // The outline's outer edge is the shape's rectangle, so the last row and column lie inside it.
    const QRect pixels = Twips::toPixels(twips, pixelTwips);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(colour, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(pixels.adjusted(0, 0, -1, -1));
    painter.restore();
}

QRect lineBounds(const QPointF &from, const QPointF &to, int pixelTwips)
{
    const double left = std::floor(std::min(from.x(), to.x()) / pixelTwips);
    const double top = std::floor(std::min(from.y(), to.y()) / pixelTwips);
    const double right = std::ceil(std::max(from.x(), to.x()) / pixelTwips);
    const double bottom = std::ceil(std::max(from.y(), to.y()) / pixelTwips);
    // Half the pen's width on every side, plus a pixel for rounding to whole pixels.
    const int margin = LineWidthPixels / 2 + 1;
    return QRect(QPoint(int(left), int(top)), QPoint(int(right), int(bottom)))
        .adjusted(-margin, -margin, margin, margin);
}

} // namespace FormPainting

#include "dials/dialpainting.h"

#include <QPainter>

#include <algorithm>
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

void DialPainting::paintPictured(QPainter &painter, LinePictures &pictures, const QPointF &from, const QPointF &to,
                                 const QColor &colour) const
{
    // A translucent colour is blended as it is stroked, not as a copy.
    if (colour.alpha() != 255) {
        paintLine(painter, from, to, colour);
        return;
    }
    const qreal ratio = painter.device()->devicePixelRatioF();
    auto found = std::find_if(pictures.m_pictures.begin(), pictures.m_pictures.end(), [&](const auto &picture) {
        return picture.from == from && picture.to == to && picture.colour == colour &&
            picture.pixels.devicePixelRatio() == ratio;
    });
    const QRect bounds = lineBounds(from, to);
    if (found == pictures.m_pictures.end()) {
        QImage pixels(bounds.size() * ratio, QImage::Format_ARGB32_Premultiplied);
        pixels.setDevicePixelRatio(ratio);
        pixels.fill(Qt::transparent);
        QPainter picture(&pixels);
        picture.translate(-bounds.topLeft());
        paintLine(picture, from, to, colour);
        picture.end();
        // The oldest place gives way once as many as are kept have been painted.
        if (pictures.m_pictures.size() < pictures.m_places) {
            pictures.m_pictures.push_back({from, to, colour, pixels});
            found = pictures.m_pictures.end() - 1;
        } else {
            found = pictures.m_pictures.begin() + qsizetype(pictures.m_oldest);
            *found = {from, to, colour, pixels};
            pictures.m_oldest = (pictures.m_oldest + 1) % pictures.m_places;
        }
    }
    painter.drawImage(bounds.topLeft(), found->pixels);
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

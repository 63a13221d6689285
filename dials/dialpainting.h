#pragma once

#include <QColor>
#include <QPointF>
#include <QRect>

class QPainter;

/**
 * @brief Drawing the forms' line and shape controls on a window's surface.
 *
 * Coordinates are twips of the window's client area; the painter works in its pixels.
 */
namespace FormPainting {

inline constexpr int LineWidthPixels = 2;

/** A line control: 2 pixels wide, round caps, not antialiased. */
void paintLine(QPainter &painter, const QPointF &from, const QPointF &to, const QColor &colour, int pixelTwips);

/** A shape control in its default form: a rectangle outline one pixel wide, transparent inside. */
void paintOutline(QPainter &painter, const QRect &twips, const QColor &colour, int pixelTwips);

/** The pixels that paintLine() may touch, for repainting no more than a moved line needs. */
QRect lineBounds(const QPointF &from, const QPointF &to, int pixelTwips);

} // namespace FormPainting

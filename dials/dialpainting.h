#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>

class QPainter;

/**
 * @brief Drawing a clock window's hands and dial outlines.
 *
 * Hands are lines in twips of the window's client area, as the hand geometry gives them; they are
 * drawn through one scale from twips to the window's pixels, made when the window is, so that every
 * stroke lands on the same pixels as it always has.
 */
class DialPainting
{
public:
    static constexpr int LineWidthPixels = 2;

    explicit DialPainting(int pixelTwips);

    /** A hand: 2 pixels wide, round caps, not antialiased. */
    void paintLine(QPainter &painter, const QPointF &from, const QPointF &to, const QColor &colour) const;

    /** The pixels that paintLine() may touch, for repainting no more than a moved hand needs. */
    QRect lineBounds(const QPointF &from, const QPointF &to) const;

    /** What paintKeptLine() keeps of a line: where it was last painted, and its picture. */
    struct KeptLine
    {
        QPointF from;
        QPointF to;
        QColor colour;
        qreal pixelRatio = 0;
        QImage picture; ///< made at the second paint in the same place
    };

    /**
     * Paints what paintLine() paints. A line painted again where it was, as a minute or hour hand is
     * each time the second hand passes its pivot, is copied from a picture made once, which costs a
     * fraction of stroking it; the copy is exact, as a line without antialiasing covers each pixel
     * fully or not at all. A line painted in a new place each time, as a second hand is, is stroked.
     */
    void paintKeptLine(QPainter &painter, KeptLine &kept, const QPointF &from, const QPointF &to,
                       const QColor &colour) const;

    /** A dial outline: a rectangle one pixel wide whose outer edge is @p pixels, transparent inside. */
    static void paintOutline(QPainter &painter, const QRect &pixels, const QColor &colour);

private:
    int m_pixelTwips;
};

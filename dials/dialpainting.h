#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>

#include <vector>

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

    /** Pictures of one hand in the places where it was last painted. */
    class LinePictures
    {
    public:
        /** Keeps the last @p places: a minute's for a second hand, which comes back to each every minute. */
        explicit LinePictures(std::size_t places = 1)
            : m_places(places)
        { }

    private:
        friend class DialPainting;
        struct Picture
        {
            QPointF from;
            QPointF to;
            QColor colour;
            QImage pixels;
        };
        std::size_t m_places;
        std::vector<Picture> m_pictures;
        std::size_t m_oldest = 0;
    };

    /**
     * Paints what paintLine() paints, copied from a picture of the line made the first time it was
     * painted in that place and colour, at the device's pixel ratio: copying costs a fraction of
     * stroking. The copy is exact, as a line without antialiasing covers each pixel fully or not at all.
     */
    void paintPictured(QPainter &painter, LinePictures &pictures, const QPointF &from, const QPointF &to,
                       const QColor &colour) const;

    /** A dial outline: a rectangle one pixel wide whose outer edge is @p pixels, transparent inside. */
    static void paintOutline(QPainter &painter, const QRect &pixels, const QColor &colour);

private:
    int m_pixelTwips;
};

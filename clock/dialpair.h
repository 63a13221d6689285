#pragma once

#include "clock/handgeometry.h"
#include "clock/zonetime.h"

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QObject>
#include <QRect>
#include <QRegion>

#include <array>

class HandLine;
class QLabel;
class QPainter;
class QTimer;
class QWidget;

/**
 * @brief The designed look of one window's pair of dials, in twips of its client area.
 */
struct DialLayout
{
    std::array<QRect, 4> shapes; ///< Shape1 to Shape4: the square outlines
    std::array<QLineF, 6> lines; ///< Line1 to Line6 as designed: A's second, minute, hour hand, then B's
    std::array<QColor, 6> lineColours; ///< an invalid colour stands for the window-text colour
    std::array<QRect, 8> numerals; ///< Label3 to Label10: "12", "6", "3", "9" of dial A, then of dial B
    QRect label11; ///< dial A's digital time
    QRect label12; ///< dial B's digital time
    QFont numeralFont;
    QFont timeFont;
    float centerA = 0.0f;
    float centerBX = 0.0f;
    float centerBY = 0.0f;
};

/**
 * @brief The two analog dials with digital read-outs that a clock window shows, and their tick.
 *
 * It creates the dials' controls on the window's surface (numeral and time labels, the six hand
 * lines, the timer Timer1) and runs the tick every 500 milliseconds: each dial shows the present
 * time shifted by HourOffsetA or HourOffsetB. The window paints the shapes and hands by calling
 * paint() from its paint event; the tick asks it to repaint only what moved.
 */
class DialPair : public QObject
{
    Q_OBJECT
public:
    DialPair(QWidget *surface, const DialLayout &layout, int pixelTwips);

    /** The load handler's part: sets the dial geometry from @p pixelTwips and puts every hand's pivot on its centre. */
    void load(qint32 pixelTwips);

    /** Timer1_Timer. */
    void tick();

    void paint(QPainter &painter, const QRegion &dirty) const;

    const HandGeometry::Dials &geometry() const { return m_dials; }
    HandLine *line(int number) const { return m_lines.at(std::size_t(number - 1)); }
    QLabel *label11() const { return m_label11; }
    QLabel *label12() const { return m_label12; }
    QTimer *timer() const { return m_timer; }

    /** Every label the pair created, numerals and time read-outs. */
    QList<QLabel *> labels() const;

private:
    void updateDial(ZoneTime::WallSeconds zoneTime, QLabel *label, const HandGeometry::Point &centre, int firstLine);
    void moveEnd(HandLine *line, const HandGeometry::Point &end);

    QWidget *m_surface;
    std::array<QRect, 4> m_shapes;
    std::array<HandLine *, 6> m_lines{};
    std::array<QLabel *, 8> m_numerals{};
    QLabel *m_label11 = nullptr;
    QLabel *m_label12 = nullptr;
    QTimer *m_timer = nullptr;
    int m_layoutTwips;
    HandGeometry::Dials m_dials;
    ZoneTime::WallSeconds ZoneTimeA;
    ZoneTime::WallSeconds ZoneTimeB;
};

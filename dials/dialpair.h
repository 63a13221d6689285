#pragma once

#include "clock/clockmodel.h"
#include "clock/handgeometry.h"
#include "clock/zonetime.h"
#include "dials/dialpainting.h"

#include <QColor>
#include <QFont>
#include <QLineF>
#include <QObject>
#include <QRect>
#include <QRegion>

#include <array>

class ClockModel;
class DialFace;
class HandLine;
class DialLabel;
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
    std::array<QColor, 6> lineColours; ///< an invalid colour stands for the palette's text colour
    std::array<QRect, 8> numerals; ///< Label3 to Label10: "12", "6", "3", "9" of dial A, then of dial B
    QRect timeA; ///< Label11: dial A's digital time
    QRect timeB; ///< Label12: dial B's digital time
    QFont numeralFont;
    QFont timeFont;
    float baseA = 0.0f; ///< dial A's centre less the dial offset, along both axes
    float baseBX = 0.0f; ///< dial B's centre less the dial offset
    float baseBY = 0.0f;
};

/**
 * @brief The two analog dials with digital read-outs that a clock window shows, and their tick.
 *
 * It creates the dials' controls on the window's surface (numeral and time labels, the six hands with
 * their pivots on the dials' centres, the timer Timer1) and runs the tick just after each second of the
 * computer's clock (the first one on the half second): each dial shows Japan time shifted by its hour
 * offset in the clock model. Once the dials show a time, a change of the model shows at once, so that
 * no caption ever stands beside another city's time. The window paints the outlines and hands by calling
 * paint() from its paint event; the dials ask it to repaint only what moved.
 */
class DialPair : public QObject
{
    Q_OBJECT
public:
    DialPair(QWidget *surface, const DialLayout &layout, int pixelTwips, const ClockModel &clock);

    /** Brings both dials to the present time, unless dial A already shows the present second. */
    void tick();

    void paint(QPainter &painter, const QRegion &dirty) const;

    /** The dial as a whole, for the keyboard and screen readers; the window puts it in its focus order. */
    DialFace *face(Dial dial) const { return dial == Dial::A ? m_faceA : m_faceB; }

    /** "時計 A: Berlin": the dial and the city it shows. */
    QString dialName(Dial dial) const;
    /** The time, summer time, and how the dial's date and hours compare with the computer's clock. */
    QString description(Dial dial) const;
    /** "Los Angels: 12月5日 (前日), このコンピューターより 17 時間遅れ" */
    QString toolTip(Dial dial) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void scheduleTick();
    void showPresentTimes();
    void updateDial(ZoneTime::WallSeconds zoneTime, DialLabel *label, const HandGeometry::Point &centre, int firstHand);
    void moveEnd(HandLine *hand, const HandGeometry::Point &end);
    ZoneTime::WallSeconds presentTime(Dial dial) const;

    QWidget *m_surface;
    const ClockModel &m_clock;
    DialPainting m_painting;
    QTimer *m_timer = nullptr;
    std::array<QRect, 4> m_outlines; ///< in pixels
    std::array<HandLine *, 6> m_hands{};
    mutable std::array<DialPainting::KeptLine, 6> m_keptHands; ///< each hand as last painted
    DialLabel *m_timeLabelA = nullptr;
    DialLabel *m_timeLabelB = nullptr;
    DialFace *m_faceA = nullptr;
    DialFace *m_faceB = nullptr;
    HandGeometry::Dials m_dials;
    ZoneTime::WallSeconds m_zoneTimeA;
    ZoneTime::WallSeconds m_zoneTimeB;
    bool m_showingTimes = false;
};

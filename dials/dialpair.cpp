#include "clock/dialpair.h"

#include "clock/clockmodel.h"
#include "clock/handline.h"
#include "clock/timesource.h"
#include "platform/formcontrols.h"
#include "platform/formpainting.h"
#include "platform/twips.h"

#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QWidget>

namespace {

constexpr int TickMilliseconds = 500;

// How long after each half second of the computer's clock the tick comes: enough that a timer which
// fires a hair early by the wall clock (slewed by time synchronisation) still reads the new second.
constexpr int TickLagMilliseconds = 3;

// From a reading of the clock to the next tick, which comes a few milliseconds past the next half second.
int millisecondsToNextTick(const QDateTime &reading)
{
    return TickMilliseconds - reading.time().msec() % TickMilliseconds + TickLagMilliseconds;
}

QLabel *makeLabel(QWidget *surface, const QString &name, const QString &text, const QRect &twips, int pixelTwips,
                  const QFont &font, Qt::Alignment alignment)
{
    auto *label = new QLabel(text, surface);
    label->setObjectName(name);
    label->setFont(font);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setAutoFillBackground(false);
    FormControls::place(label, twips, pixelTwips);
    return label;
}

} // namespace

DialPair::DialPair(QWidget *surface, const DialLayout &layout, int layoutTwips, const ClockModel &clock)
    : QObject(surface)
    , m_surface(surface)
    , m_shapes(layout.shapes)
    , m_layoutTwips(layoutTwips)
    , m_dials{0, 0.0f, layout.baseA, layout.baseBX, layout.baseBY}
    , m_offsetA(clock.offsetA())
    , m_offsetB(clock.offsetB())
    , m_zoneTimeA(ZoneTime::zeroDateTime())
    , m_zoneTimeB(ZoneTime::zeroDateTime())
{
    for (int i = 0; i < 6; ++i) {
        m_hands[std::size_t(i)] = new HandLine(QStringLiteral("Line%1").arg(i + 1), layout.lines[std::size_t(i)],
                                               layout.lineColours[std::size_t(i)], this);
    }

    static const char *const numeralTexts[] = {"12", "6", "3", "9", "12", "6", "3", "9"};
    for (int i = 0; i < 8; ++i) {
        makeLabel(surface, QStringLiteral("Label%1").arg(i + 3), QString::fromLatin1(numeralTexts[i]),
                  layout.numerals[std::size_t(i)], layoutTwips, layout.numeralFont, Qt::AlignLeft);
    }
    m_timeLabelA = makeLabel(surface, QStringLiteral("Label11"), QString(), layout.timeA, layoutTwips, layout.timeFont,
                             Qt::AlignHCenter);
    m_timeLabelB = makeLabel(surface, QStringLiteral("Label12"), QString(), layout.timeB, layoutTwips, layout.timeFont,
                             Qt::AlignHCenter);

    // A changed offset shows at the next tick, like every other change of the time.
    connect(&clock, &ClockModel::offsetsChanged, this, [this](qint16 offsetA, qint16 offsetB) {
        m_offsetA = offsetA;
        m_offsetB = offsetB;
    });

    // A free-running 500 ms timer keeps whatever phase it started with, so a new second would show up
    // to half a second late. Armed afresh from the clock at every timeout, the one-shot Timer1 cannot
    // drift, follows the clock when it is set, and catches up at the next half second after a late wake.
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setTimerType(Qt::PreciseTimer);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] {
        scheduleTick();
        tick();
    });
    scheduleTick();
}

void DialPair::scheduleTick()
{
    m_timer->start(millisecondsToNextTick(TimeSource::now()));
}

void DialPair::placePivots(qint32 pixelTwips)
{
    m_dials = HandGeometry::Dials::forWindow(pixelTwips, m_dials.baseA, m_dials.baseBX, m_dials.baseBY);
    const HandGeometry::Point a = m_dials.centreA();
    const HandGeometry::Point b = m_dials.centreB();
    for (int i = 0; i < 6; ++i) {
        HandLine *hand = m_hands[std::size_t(i)];
        const QRect before = FormPainting::lineBounds(hand->start(), hand->end(), m_layoutTwips);
        hand->setStart(i < 3 ? a : b);
        m_surface->update(before.united(FormPainting::lineBounds(hand->start(), hand->end(), m_layoutTwips)));
    }
}

void DialPair::tick()
{
    // While dial A runs on the computer's own time, the tick has nothing to do until the next second.
    const ZoneTime::WallSeconds present = ZoneTime::fromReading(TimeSource::now());
    if (present == m_zoneTimeA)
        return;

    m_zoneTimeA = ZoneTime::shifted(ZoneTime::fromReading(TimeSource::now()), m_offsetA);
    updateDial(m_zoneTimeA, m_timeLabelA, m_dials.centreA(), 0);

    // Dial B reads the clock again: a second boundary in between puts it a second ahead until the next tick.
    m_zoneTimeB = ZoneTime::shifted(ZoneTime::fromReading(TimeSource::now()), m_offsetB);
    updateDial(m_zoneTimeB, m_timeLabelB, m_dials.centreB(), 3);
}

void DialPair::updateDial(ZoneTime::WallSeconds zoneTime, QLabel *label, const HandGeometry::Point &centre,
                          int firstHand)
{
    const ZoneTime::TimeOfDay time = ZoneTime::timeOfDay(zoneTime);
    const QString text = ZoneTime::format(time);
    if (label->text() != text)
        label->setText(text);

    const HandGeometry::Hands ends = HandGeometry::hands(centre, m_dials.pixelTwips, m_dials.dialOffset, time);
    moveEnd(m_hands[std::size_t(firstHand)], ends.second);
    moveEnd(m_hands[std::size_t(firstHand + 1)], ends.minute);
    moveEnd(m_hands[std::size_t(firstHand + 2)], ends.hour);
}

void DialPair::moveEnd(HandLine *hand, const HandGeometry::Point &end)
{
    if (hand->freeEnd().x == end.x && hand->freeEnd().y == end.y)
        return;
    // The old and the new stroke each repaint their own box: their common box would take in
    // much of the dial for a hand that swings across it.
    m_surface->update(FormPainting::lineBounds(hand->start(), hand->end(), m_layoutTwips));
    hand->setEnd(end);
    m_surface->update(FormPainting::lineBounds(hand->start(), hand->end(), m_layoutTwips));
}

void DialPair::paint(QPainter &painter, const QRegion &dirty) const
{
    const QColor windowText = m_surface->palette().color(QPalette::Text);
    for (const QRect &shape : m_shapes) {
        const QRect box = Twips::toPixels(shape, m_layoutTwips);
        // Only the one-pixel outline is drawn, so only a dirty part of it counts.
        if (!(dirty - QRegion(box.adjusted(1, 1, -1, -1))).intersects(box))
            continue;

        FormPainting::paintOutline(painter, shape, windowText, m_layoutTwips);
    }
    for (const HandLine *hand : m_hands) {
        if (!dirty.intersects(FormPainting::lineBounds(hand->start(), hand->end(), m_layoutTwips)))
            continue;
        const QColor colour = hand->colour().isValid() ? hand->colour() : windowText;
        FormPainting::paintLine(painter, hand->start(), hand->end(), colour, m_layoutTwips);
    }
}

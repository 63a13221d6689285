#include "dials/dialpair.h"

#include "clock/clockmodel.h"
#include "clock/tickrule.h"
#include "clock/timesource.h"
#include "dials/dialface.h"
#include "dials/diallabel.h"
#include "dials/dialtexts.h"
#include "dials/handline.h"
#include "forms/twips.h"

#include <QHelpEvent>
#include <QPainter>
#include <QTimer>
#include <QToolTip>
#include <QWidget>

#include <algorithm>

namespace {

DialLabel *makeLabel(QWidget *surface, const QString &name, const QString &text, const QRect &pixels, const QFont &font,
                     Qt::Alignment alignment, DialLabel::Repaint repaint = DialLabel::Repaint::Whole)
{
    auto *label = new DialLabel(text, alignment | Qt::AlignTop, surface, repaint);
    label->setObjectName(name);
    label->setFont(font);
    label->setAutoFillBackground(false);
    label->setGeometry(pixels);
    // A label of fixed size asks no layout of its window when its text changes.
    label->setFixedSize(pixels.size());
    return label;
}

} // namespace

DialPair::DialPair(QWidget *surface, const DialLayout &layout, int pixelTwips, const ClockModel &clock)
    : QObject(surface)
    , m_surface(surface)
    , m_clock(clock)
    , m_painting(pixelTwips)
    , m_outlines(Twips::toPixels(layout.shapes, pixelTwips))
    , m_dials(HandGeometry::Dials::forWindow(pixelTwips, layout.baseA, layout.baseBX, layout.baseBY))
    , m_zoneTimeA(ZoneTime::zeroDateTime())
    , m_zoneTimeB(ZoneTime::zeroDateTime())
{
    // Until the first tick each hand runs from its dial's centre to its designed end.
    const HandGeometry::Point a = m_dials.centreA();
    const HandGeometry::Point b = m_dials.centreB();
    for (std::size_t i = 0; i < m_hands.size(); ++i) {
        m_hands[i] = new HandLine(QStringLiteral("Line%1").arg(i + 1), layout.lines[i], layout.lineColours[i], this);
        const HandGeometry::Point &pivot = i < 3 ? a : b;
        m_hands[i]->setStart(QPointF(pivot.x, pivot.y));
    }

    static const char *const numeralTexts[] = {"12", "6", "3", "9", "12", "6", "3", "9"};
    const auto numerals = Twips::toPixels(layout.numerals, pixelTwips);
    for (std::size_t i = 0; i < numerals.size(); ++i) {
        // The second hands pass by the numerals, which need no repaint unless a hand touches their digits.
        makeLabel(surface, QStringLiteral("Label%1").arg(i + 3), QString::fromLatin1(numeralTexts[i]), numerals[i],
                  layout.numeralFont, Qt::AlignLeft)
            ->maskToText();
    }
    // Each second the times change by a digit or two, and only those are repainted.
    m_timeLabelA = makeLabel(surface, QStringLiteral("Label11"), QString(), Twips::toPixels(layout.timeA, pixelTwips),
                             layout.timeFont, Qt::AlignHCenter, DialLabel::Repaint::ChangedDigits);
    m_timeLabelB = makeLabel(surface, QStringLiteral("Label12"), QString(), Twips::toPixels(layout.timeB, pixelTwips),
                             layout.timeFont, Qt::AlignHCenter, DialLabel::Repaint::ChangedDigits);

    const QRect pixelsA = m_outlines[0].united(m_outlines[1]);
    const QRect pixelsB = m_outlines[2].united(m_outlines[3]);
    m_faceA = new DialFace(
        surface, QStringLiteral("dialA"), pixelsA, [this] { return dialName(Dial::A); },
        [this] { return description(Dial::A); });
    m_faceB = new DialFace(
        surface, QStringLiteral("dialB"), pixelsB, [this] { return dialName(Dial::B); },
        [this] { return description(Dial::B); });
    // The faces let the mouse through: the surface asks for the tooltip.
    surface->installEventFilter(this);

    connect(&clock, &ClockModel::changed, this, [this] {
        m_faceA->announce(true);
        m_faceB->announce(true);
        if (m_showingTimes)
            showPresentTimes();
    });

    // A free-running timer keeps whatever phase it started with, so a new second would show up to a
    // whole interval late. Armed afresh from the clock at every timeout, the one-shot Timer1 cannot
    // drift, follows the clock when it is set, and catches up at the next second after a late wake.
    // It wakes the program once a second: a tick in between would find the same second.
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setTimerType(Qt::PreciseTimer);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] {
        tick();
        scheduleTick();
    });
    scheduleTick();
}

void DialPair::scheduleTick()
{
    const int interval = m_showingTimes ? TickRule::IntervalMilliseconds : TickRule::FirstIntervalMilliseconds;
    m_timer->start(TickRule::millisecondsToNextTick(TimeSource::now(), interval));
}

void DialPair::tick()
{
    // While dial A runs on Japan time itself, the tick has nothing to do until the next second.
    if (ZoneTime::japanTime(TimeSource::now()) == m_zoneTimeA)
        return;
    showPresentTimes();
    m_faceA->announce(false);
    m_faceB->announce(false);
}

void DialPair::showPresentTimes()
{
    m_showingTimes = true;
    m_zoneTimeA = ZoneTime::shifted(ZoneTime::japanTime(TimeSource::now()), m_clock.dial(Dial::A).offset);
    updateDial(m_zoneTimeA, m_timeLabelA, m_dials.centreA(), 0);

    // Dial B reads the clock again: a second boundary in between puts it a second ahead until the next tick.
    m_zoneTimeB = ZoneTime::shifted(ZoneTime::japanTime(TimeSource::now()), m_clock.dial(Dial::B).offset);
    updateDial(m_zoneTimeB, m_timeLabelB, m_dials.centreB(), 3);
}

void DialPair::updateDial(ZoneTime::WallSeconds zoneTime, DialLabel *label, const HandGeometry::Point &centre,
                          int firstHand)
{
    const ZoneTime::TimeOfDay time = ZoneTime::timeOfDay(zoneTime);
    label->showText(ZoneTime::format(time));

    const HandGeometry::Hands ends = HandGeometry::hands(centre, m_dials.pixelTwips, m_dials.dialOffset, time);
    moveEnd(m_hands[std::size_t(firstHand)], ends.second);
    moveEnd(m_hands[std::size_t(firstHand + 1)], ends.minute);
    moveEnd(m_hands[std::size_t(firstHand + 2)], ends.hour);
}

void DialPair::moveEnd(HandLine *hand, const HandGeometry::Point &end)
{
    const QPointF moved(end.x, end.y);
    if (hand->end() == moved)
        return;
    const QRect before = m_painting.lineBounds(hand->start(), hand->end());
    hand->setEnd(moved);
    const QRect after = m_painting.lineBounds(hand->start(), hand->end());
    // A hand that moves on by a step repaints one box around both strokes, which costs less to repaint
    // than two overlapping ones. A hand that swings across the dial repaints each stroke's box: their
    // common box would take in much of the dial.
    const QRect both = before | after;
    const auto area = [](const QRect &box) {
        return box.width() * box.height();
    };
    if (area(both) <= area(before) + area(after)) {
        m_surface->update(both);
    } else {
        m_surface->update(before);
        m_surface->update(after);
    }
}

void DialPair::paint(QPainter &painter, const QRegion &dirty) const
{
    const QColor windowText = m_surface->palette().color(QPalette::Text);
    for (const QRect &box : m_outlines) {
        // Only the one-pixel outline is drawn, so only a dirty part of it counts.
        const QRect inside = box.adjusted(1, 1, -1, -1);
        const bool touched = std::any_of(dirty.begin(), dirty.end(), [&](const QRect &part) {
            const QRect onBox = part & box;
            return !onBox.isEmpty() && !inside.contains(onBox);
        });
        if (touched)
            DialPainting::paintOutline(painter, box, windowText);
    }
    for (std::size_t i = 0; i < m_hands.size(); ++i) {
        const HandLine *hand = m_hands[i];
        if (!dirty.intersects(m_painting.lineBounds(hand->start(), hand->end())))
            continue;
        const QColor colour = hand->colour().isValid() ? hand->colour() : windowText;
        m_painting.paintKeptLine(painter, m_keptHands[i], hand->start(), hand->end(), colour);
    }
}

ZoneTime::WallSeconds DialPair::presentTime(Dial dial) const
{
    return ZoneTime::shifted(ZoneTime::japanTime(TimeSource::now()), m_clock.dial(dial).offset);
}

QString DialPair::dialName(Dial dial) const
{
    return DialTexts::name(dial, m_clock.dial(dial).city);
}

QString DialPair::description(Dial dial) const
{
    return DialTexts::description(m_clock.dial(dial), presentTime(dial), ZoneTime::localTime(TimeSource::now()));
}

QString DialPair::toolTip(Dial dial) const
{
    return DialTexts::toolTip(m_clock.dial(dial).city, presentTime(dial), ZoneTime::localTime(TimeSource::now()));
}

bool DialPair::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_surface || event->type() != QEvent::ToolTip)
        return QObject::eventFilter(watched, event);
    const auto *help = static_cast<QHelpEvent *>(event);
    for (const Dial dial : {Dial::A, Dial::B}) {
        const QRect area = face(dial)->geometry();
        if (area.contains(help->pos())) {
            QToolTip::showText(help->globalPos(), toolTip(dial), m_surface, area);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

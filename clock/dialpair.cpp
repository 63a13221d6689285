#include "clock/dialpair.h"

#include "clock/handline.h"
#include "clock/houroffsets.h"
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

DialPair::DialPair(QWidget *surface, const DialLayout &layout, int pixelTwips)
    : QObject(surface)
    , m_surface(surface)
    , m_shapes(layout.shapes)
    , m_layoutTwips(pixelTwips)
    , ZoneTimeA(ZoneTime::zeroDateTime())
    , ZoneTimeB(ZoneTime::zeroDateTime())
{
    for (int i = 0; i < 6; ++i) {
        m_lines[std::size_t(i)] = new HandLine(QStringLiteral("Line%1").arg(i + 1), layout.lines[std::size_t(i)],
                                               layout.lineColours[std::size_t(i)], this);
    }

    static const char *const numeralTexts[] = {"12", "6", "3", "9", "12", "6", "3", "9"};
    for (int i = 0; i < 8; ++i) {
        m_numerals[std::size_t(i)] =
            makeLabel(surface, QStringLiteral("Label%1").arg(i + 3), QString::fromLatin1(numeralTexts[i]),
                      layout.numerals[std::size_t(i)], pixelTwips, layout.numeralFont, Qt::AlignLeft);
    }
    m_label11 = makeLabel(surface, QStringLiteral("Label11"), QString(), layout.label11, pixelTwips, layout.timeFont,
                          Qt::AlignHCenter);
    m_label12 = makeLabel(surface, QStringLiteral("Label12"), QString(), layout.label12, pixelTwips, layout.timeFont,
                          Qt::AlignHCenter);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(TickMilliseconds);
    connect(m_timer, &QTimer::timeout, this, &DialPair::tick);
    m_timer->start();

    m_dials.CenterA = layout.centerA;
    m_dials.CenterBX = layout.centerBX;
    m_dials.CenterBY = layout.centerBY;
}

void DialPair::load(qint32 pixelTwips)
{
    m_dials = HandGeometry::Dials::forWindow(pixelTwips, m_dials.CenterA, m_dials.CenterBX, m_dials.CenterBY);
    const HandGeometry::Point a = m_dials.centreA();
    const HandGeometry::Point b = m_dials.centreB();
    for (int i = 0; i < 6; ++i) {
        HandLine *hand = m_lines[std::size_t(i)];
        const QRect before = FormPainting::lineBounds(hand->start(), hand->end(), m_layoutTwips);
        const HandGeometry::Point &pivot = i < 3 ? a : b;
        hand->X1 = pivot.x;
        hand->Y1 = pivot.y;
        m_surface->update(before.united(FormPainting::lineBounds(hand->start(), hand->end(), m_layoutTwips)));
    }
}

void DialPair::tick()
{
    // While dial A runs on the computer's own time, the tick has nothing to do until the next second.
    const ZoneTime::WallSeconds present = ZoneTime::fromReading(TimeSource::now());
    if (present == ZoneTimeA)
        return;

    ZoneTimeA = ZoneTime::shifted(ZoneTime::fromReading(TimeSource::now()), HourOffsetA);
    updateDial(ZoneTimeA, m_label11, m_dials.centreA(), 0);

    // Dial B reads the clock again: a second boundary in between puts it a second ahead until the next tick.
    ZoneTimeB = ZoneTime::shifted(ZoneTime::fromReading(TimeSource::now()), HourOffsetB);
    updateDial(ZoneTimeB, m_label12, m_dials.centreB(), 3);
}

void DialPair::updateDial(ZoneTime::WallSeconds zoneTime, QLabel *label, const HandGeometry::Point &centre,
                          int firstLine)
{
    const ZoneTime::TimeOfDay time = ZoneTime::timeOfDay(zoneTime);
    const QString text = ZoneTime::format(time);
    if (label->text() != text)
        label->setText(text);

    const HandGeometry::Hands ends = HandGeometry::hands(centre, m_dials.PixelTwips, m_dials.DialOffset, time);
    moveEnd(m_lines[std::size_t(firstLine)], ends.second);
    moveEnd(m_lines[std::size_t(firstLine + 1)], ends.minute);
    moveEnd(m_lines[std::size_t(firstLine + 2)], ends.hour);
}

void DialPair::moveEnd(HandLine *line, const HandGeometry::Point &end)
{
    if (line->X2 == end.x && line->Y2 == end.y)
        return;
    // The old and the new stroke each repaint their own box: their common box would take in
    // much of the dial for a hand that swings across it.
    m_surface->update(FormPainting::lineBounds(line->start(), line->end(), m_layoutTwips));
    line->X2 = end.x;
    line->Y2 = end.y;
    m_surface->update(FormPainting::lineBounds(line->start(), line->end(), m_layoutTwips));
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
    for (const HandLine *line : m_lines) {
        if (!dirty.intersects(FormPainting::lineBounds(line->start(), line->end(), m_layoutTwips)))
            continue;
        const QColor colour = line->colour().isValid() ? line->colour() : windowText;
        FormPainting::paintLine(painter, line->start(), line->end(), colour, m_layoutTwips);
    }
}

QList<QLabel *> DialPair::labels() const
{
    QList<QLabel *> all(m_numerals.begin(), m_numerals.end());
    all << m_label11 << m_label12;
    return all;
}

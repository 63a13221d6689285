#pragma once

#include <QColor>
#include <QLineF>
#include <QObject>
#include <QPointF>

/**
 * @brief One hand of a clock window: a line from its pivot to its free end.
 *
 * Coordinates are twips of the window's client area, each a single-precision number as the hand
 * geometry works them out. The line only holds its ends and colour; the window it belongs to draws it.
 */
class HandLine : public QObject
{
    Q_OBJECT
public:
    HandLine(const QString &name, const QLineF &designed, const QColor &colour, QObject *parent);

    /** An invalid colour stands for the palette's text colour. */
    QColor colour() const { return m_colour; }

    QPointF start() const { return m_start; }
    QPointF end() const { return m_end; }

    void setStart(const QPointF &pivot) { m_start = pivot; }
    void setEnd(const QPointF &end) { m_end = end; }

private:
    QPointF m_start;
    QPointF m_end;
    QColor m_colour;
};

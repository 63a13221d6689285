#pragma once

#include "clock/handgeometry.h"

#include <QColor>
#include <QLineF>
#include <QObject>
#include <QPointF>

/**
 * @brief One hand of a clock window: a line from its pivot to its free end.
 *
 * Coordinates are single-precision twips of the window's client area. The line only holds its
 * ends and colour; the window it belongs to draws it.
 */
class HandLine : public QObject
{
    Q_OBJECT
public:
    HandLine(const QString &name, const QLineF &designed, const QColor &colour, QObject *parent);

    /** An invalid colour stands for the system's window-text colour. */
    QColor colour() const { return m_colour; }

    QPointF start() const { return {m_start.x, m_start.y}; }
    QPointF end() const { return {m_end.x, m_end.y}; }
    const HandGeometry::Point &freeEnd() const { return m_end; }

    void setStart(const HandGeometry::Point &pivot) { m_start = pivot; }
    void setEnd(const HandGeometry::Point &end) { m_end = end; }

private:
    HandGeometry::Point m_start;
    HandGeometry::Point m_end;
    QColor m_colour;
};

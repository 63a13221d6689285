#pragma once

#include <QColor>
#include <QLineF>
#include <QObject>
#include <QPointF>

/**
 * @brief A line control of a clock window: one hand, from its pivot (X1, Y1) to its free end (X2, Y2).
 *
 * Coordinates are single-precision twips of the window's client area. The line only holds its
 * ends; the window it belongs to draws it.
 */
class HandLine : public QObject
{
    Q_OBJECT
public:
    HandLine(const QString &name, const QLineF &designed, const QColor &colour, QObject *parent);

    float X1 = 0.0f;
    float Y1 = 0.0f;
    float X2 = 0.0f;
    float Y2 = 0.0f;

    /** An invalid colour stands for the system's window-text colour. */
    QColor colour() const { return m_colour; }

    QPointF start() const { return {X1, Y1}; }
    QPointF end() const { return {X2, Y2}; }

private:
    QColor m_colour;
};

#include "clock/handline.h"

HandLine::HandLine(const QString &name, const QLineF &designed, const QColor &colour, QObject *parent)
    : QObject(parent)
    , X1(float(designed.x1()))
    , Y1(float(designed.y1()))
    , X2(float(designed.x2()))
    , Y2(float(designed.y2()))
    , m_colour(colour)
{
    setObjectName(name);
}

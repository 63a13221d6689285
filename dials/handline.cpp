#include "clock/handline.h"

HandLine::HandLine(const QString &name, const QLineF &designed, const QColor &colour, QObject *parent)
    : QObject(parent)
    , m_start{float(designed.x1()), float(designed.y1())}
    , m_end{float(designed.x2()), float(designed.y2())}
    , m_colour(colour)
{
    setObjectName(name);
}

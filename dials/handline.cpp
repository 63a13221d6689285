#include "dials/handline.h"

HandLine::HandLine(const QString &name, const QLineF &designed, const QColor &colour, QObject *parent)
    : QObject(parent)
    , m_start(designed.p1())
    , m_end(designed.p2())
    , m_colour(colour)
{
    setObjectName(name);
}

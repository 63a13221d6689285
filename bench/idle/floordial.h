#pragma once

// One dial of the floor programs: a square and three hands, drawn with QPainter's defaults.

#include <QPainter>
#include <QTime>

#include <cmath>

inline void paintFloorDial(QPainter &painter, const QPointF &centre, const QTime &time)
{
    painter.drawRect(QRectF(centre - QPointF(53, 53), QSizeF(105, 105)));
    const auto hand = [&](double turns, double length) {
        const double angle = turns * 2 * M_PI - M_PI / 2;
        painter.drawLine(centre, centre + QPointF(length * std::cos(angle), length * std::sin(angle)));
    };
    hand(time.second() / 60.0, 35);
    hand(time.minute() / 60.0, 31);
    hand((time.hour() % 12 + time.minute() / 60.0) / 12.0, 23);
}

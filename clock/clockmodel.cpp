#include "clock/clockmodel.h"

void ClockModel::setOffsets(qint16 hoursA, qint16 hoursB)
{
    if (hoursA == m_offsetA && hoursB == m_offsetB)
        return;
    m_offsetA = hoursA;
    m_offsetB = hoursB;
    Q_EMIT offsetsChanged(m_offsetA, m_offsetB);
}

#pragma once

#include <QObject>

/**
 * @brief The hour offsets of dial A and dial B: the hours added to the computer's clock for each dial.
 *
 * They are the only state the program's windows share. The settings readers, the clock-settings
 * dialog and the main window's city list set them; every pair of dials on screen takes each change
 * and shows it at its next tick. Everything else (cities, summer-time flags) lives in the windows'
 * own controls.
 */
class ClockModel : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    qint16 offsetA() const { return m_offsetA; }
    qint16 offsetB() const { return m_offsetB; }

    void setOffsetA(qint16 hours) { setOffsets(hours, m_offsetB); }
    void setOffsetB(qint16 hours) { setOffsets(m_offsetA, hours); }
    void setOffsets(qint16 hoursA, qint16 hoursB);

Q_SIGNALS:
    void offsetsChanged(qint16 offsetA, qint16 offsetB);

private:
    qint16 m_offsetA = 0;
    qint16 m_offsetB = 0;
};

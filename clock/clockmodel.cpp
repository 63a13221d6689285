#include "clock/clockmodel.h"

#include "clock/citytable.h"

ClockState ClockState::tokyo()
{
    const DialState tokyo{cityNameAt(0), false, zoneOffsetAt(0)};
    return {tokyo, tokyo};
}

void ClockModel::setState(const ClockState &state)
{
    if (state == m_state)
        return;
    m_state = state;
    Q_EMIT changed();
}

void ClockModel::chooseCity(Dial dial, int index)
{
    setDial(dial, {cityNameAt(index), false, zoneOffsetAt(index)});
}

void ClockModel::setSummerTime(Dial dial, bool on)
{
    DialState state = this->dial(dial);
    state.summerTime = on;
    state.offset = qint16(zoneOffsetAt(cityIndex(state.city)) + (on ? 1 : 0));
    setDial(dial, state);
}

void ClockModel::setDial(Dial dial, const DialState &state)
{
    ClockState changed = m_state;
    (dial == Dial::A ? changed.a : changed.b) = state;
    setState(changed);
}

#pragma once

#include <QObject>
#include <QString>

/** One dial's part of the clock: the city its caption names, its summer time and the hours it adds. */
struct DialState
{
    QString city; ///< as the caption shows it; empty while no city is chosen
    bool summerTime = false;
    qint16 offset = 0; ///< hours added to Japan time

    friend bool operator==(const DialState &, const DialState &) = default;
};

/** Both dials: dial A (upper left on the main window) and dial B. */
struct ClockState
{
    DialState a;
    DialState b;

    /** Tokyo on both dials, without summer time: the state with no settings file. */
    static ClockState tokyo();

    friend bool operator==(const ClockState &, const ClockState &) = default;
};

enum class Dial { A, B };

/**
 * @brief What the two dials show: each dial's city, summer time and hour offset.
 *
 * It is the only state the windows share. The main window and the clock-settings dialog are views of
 * it: captions, summer-time tags, lists, boxes, time labels and hands all follow changed(). Who may
 * change it, and when a change is saved, is the windows' business; the rules for a city chosen from a
 * list and for the summer-time switch are kept here, so that both windows apply them alike.
 */
class ClockModel : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    const ClockState &state() const { return m_state; }
    const DialState &dial(Dial dial) const { return dial == Dial::A ? m_state.a : m_state.b; }

    void setState(const ClockState &state);

    /**
     * The city at list position @p index chosen for @p dial: its name and offset, summer time off. No
     * selection (-1) names no city and runs on Japan time.
     */
    void chooseCity(Dial dial, int index);

    /** Summer time on or off for @p dial: the offset worked out afresh from its city, plus an hour when on. */
    void setSummerTime(Dial dial, bool on);

Q_SIGNALS:
    void changed();

private:
    void setDial(Dial dial, const DialState &state);

    ClockState m_state;
};

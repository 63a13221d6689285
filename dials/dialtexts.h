#pragma once

#include "clock/clockmodel.h"
#include "clock/zonetime.h"

#include <QCoreApplication>
#include <QString>

/**
 * @brief What a dial says in words, to a screen reader and in its tooltip: which dial and city it is,
 * its time and summer time, and how its date and hours compare with the computer's own clock.
 */
class DialTexts
{
    Q_DECLARE_TR_FUNCTIONS(DialTexts)

public:
    /** "時計 A: Berlin", or "時計 A" while the dial names no city. */
    static QString name(Dial dial, const QString &city);

    /** "12月5日 (前日), このコンピューターより 17 時間遅れ": the date only where it differs from the computer's. */
    static QString comparison(ZoneTime::WallSeconds shown, ZoneTime::WallSeconds computer);

    /** "09:13:40 サマータイム, このコンピューターより 8 時間遅れ" */
    static QString description(const DialState &dial, ZoneTime::WallSeconds shown, ZoneTime::WallSeconds computer);

    /** "Los Angels: 12月5日 (前日), このコンピューターより 17 時間遅れ" */
    static QString toolTip(const QString &city, ZoneTime::WallSeconds shown, ZoneTime::WallSeconds computer);
};

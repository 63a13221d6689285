#include "dials/dialtexts.h"

#include <QLocale>
#include <QStringList>

QString DialTexts::name(Dial dial, const QString &city)
{
    const QString name = dial == Dial::A ? tr("時計 A") : tr("時計 B");
    return city.isEmpty() ? name : tr("%1: %2").arg(name, city);
}

QString DialTexts::comparison(ZoneTime::WallSeconds shown, ZoneTime::WallSeconds computer)
{
    QStringList parts;
    const qint64 days = ZoneTime::date(computer).daysTo(ZoneTime::date(shown));
    if (days != 0) {
        const QString date = QLocale::c().toString(ZoneTime::date(shown), tr("M月d日"));
        const QString relation = days == -1 ? tr("前日")
            : days == 1                     ? tr("翌日")
            : days < 0                      ? tr("%n 日前", nullptr, int(-days))
                                            : tr("%n 日後", nullptr, int(days));
        parts << tr("%1 (%2)").arg(date, relation);
    }
    // Whole minutes: a computer's zone may lie half an hour or a quarter off the hour.
    const qint64 minutes = (shown - computer) / 60;
    const int hours = int(qAbs(minutes) / 60);
    const int rest = int(qAbs(minutes) % 60);
    if (minutes == 0)
        parts << tr("このコンピューターと同じ時刻");
    else if (rest == 0)
        parts << (minutes > 0 ? tr("このコンピューターより %n 時間進み", nullptr, hours)
                              : tr("このコンピューターより %n 時間遅れ", nullptr, hours));
    else
        parts << (minutes > 0 ? tr("このコンピューターより %1 時間 %2 分進み")
                              : tr("このコンピューターより %1 時間 %2 分遅れ"))
                     .arg(hours)
                     .arg(rest);
    return parts.join(tr(", "));
}

QString DialTexts::description(const DialState &dial, ZoneTime::WallSeconds shown, ZoneTime::WallSeconds computer)
{
    QString time = ZoneTime::format(ZoneTime::timeOfDay(shown));
    if (dial.summerTime)
        time = tr("%1 サマータイム").arg(time);
    return tr("%1, %2").arg(time, comparison(shown, computer));
}

QString DialTexts::toolTip(const QString &city, ZoneTime::WallSeconds shown, ZoneTime::WallSeconds computer)
{
    return city.isEmpty() ? comparison(shown, computer) : tr("%1: %2").arg(city, comparison(shown, computer));
}

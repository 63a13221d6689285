#pragma once

// The main window as the settings code sees it, for the settings tests.

#include "clock/citytable.h"
#include "clock/houroffsets.h"
#include "settings/mainformcontrols.h"

#include <QStringList>

/**
 * The main window as the settings code sees it, recording each change in order. Selecting a city runs
 * what the main window's list handler does: it names dial B, hides its tag and sets its offset.
 */
class FakeMainForm : public MainFormControls
{
public:
    QStringList log;
    QString selected;
    QString captionA;
    QString captionB;
    bool tagA = false;
    bool tagB = false;

    bool selectCityB(const QString &city) override
    {
        for (int i = 0; i < CityCount; ++i) {
            if (QLatin1String(CityTable[std::size_t(i)].name) == city) {
                log << QStringLiteral("select ") + city;
                selected = city;
                captionB = city;
                tagB = false;
                HourOffsetB = zoneOffsetAt(i);
                return true;
            }
        }
        log << QStringLiteral("no entry ") + city;
        return false;
    }
    QString selectedCityB() const override { return selected; }
    void setCityCaptionA(const QString &caption) override
    {
        log << QStringLiteral("captionA ") + caption;
        captionA = caption;
    }
    void setCityCaptionB(const QString &caption) override
    {
        log << QStringLiteral("captionB ") + caption;
        captionB = caption;
    }
    void showSummerTimeA(bool shown) override
    {
        log << QStringLiteral("tagA %1").arg(shown);
        tagA = shown;
    }
    void showSummerTimeB(bool shown) override
    {
        log << QStringLiteral("tagB %1").arg(shown);
        tagB = shown;
    }
};

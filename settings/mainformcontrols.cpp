#include "settings/mainformcontrols.h"

#include "clock/clockmodel.h"
#include "settings/settingsfile.h"

bool MainFormControls::showSettings(const ClockSettings &settings, ClockModel &clock)
{
    // Selecting dial B's city runs the list's handler; what it did to the caption, the tag and the
    // offset is set again below.
    if (!selectCityB(settings.cityB))
        return false;
    clock.setOffsets(settings.offsetA, settings.offsetB);
    setCityCaptionA(settings.cityA);
    setCityCaptionB(settings.cityB);
    showSummerTimeA(settings.summerTimeA);
    showSummerTimeB(settings.summerTimeB);
    return true;
}

void MainFormControls::showTokyo(ClockModel &clock)
{
    const QString tokyo = QStringLiteral("Tokyo");
    showSettings({0, tokyo, 0, tokyo, false, false}, clock);
}

void MainFormControls::showSavedSettings(const SavedSettings &saved, ClockModel &clock)
{
    if (saved.reading == SavedSettings::Reading::NotFound) {
        showTokyo(clock);
        return;
    }
    if (saved.reading != SavedSettings::Reading::Complete || !saved.offsetA || !saved.offsetB)
        return;
    // Dial A's caption is the file's text as it stands, a city of the table or not.
    showSettings({*saved.offsetA, saved.cityA, *saved.offsetB, saved.cityB, saved.summerTimeA, saved.summerTimeB},
                 clock);
}

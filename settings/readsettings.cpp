#include "settings/readsettings.h"

#include "clock/houroffsets.h"
#include "settings/mainformcontrols.h"
#include "settings/settingsfile.h"
#include "settings/tokyofallback.h"

void ReadSettings(const SettingsFile &file, MainFormControls &mainForm)
{
    const SettingsFile::Fields fields = file.readFields();
    if (fields.status == SettingsFile::ReadStatus::NotFound) {
        ShowTokyoOnBothDials(mainForm);
        return;
    }
    if (fields.status != SettingsFile::ReadStatus::Ok)
        return;

    const QStringList &f = fields.values;
    const std::optional<qint16> offsetA = SettingsFile::toHourOffset(f[0]);
    const std::optional<qint16> offsetB = SettingsFile::toHourOffset(f[2]);
    if (!offsetA || !offsetB)
        return;

    // Selecting dial B's city runs the list's handler; the steps after it set what it touched again.
    if (!mainForm.selectCityB(f[3]))
        return;
    HourOffsetA = *offsetA;
    HourOffsetB = *offsetB;
    mainForm.setCityCaptionA(f[1]);
    mainForm.setCityCaptionB(f[3]);
    mainForm.showSummerTimeA(SettingsFile::isTrue(f[4]));
    mainForm.showSummerTimeB(SettingsFile::isTrue(f[5]));
}

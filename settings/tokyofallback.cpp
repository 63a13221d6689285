#include "settings/tokyofallback.h"

#include "clock/houroffsets.h"
#include "settings/mainformcontrols.h"

void ShowTokyoOnBothDials(MainFormControls &mainForm)
{
    const QString tokyo = QStringLiteral("Tokyo");
    HourOffsetA = 0;
    HourOffsetB = 0;
    mainForm.selectCityB(tokyo);
    mainForm.setCityCaptionA(tokyo);
    mainForm.setCityCaptionB(tokyo);
    mainForm.showSummerTimeA(false);
    mainForm.showSummerTimeB(false);
    // The list's handler set dial B's offset from its city; Tokyo's is 0, and so it stays.
}

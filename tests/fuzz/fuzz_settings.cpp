// Arbitrary bytes as setTime.properties, read by both readers: the main window's at start-up and the
// clock-settings dialog's when it opens. Nothing may crash, each reader must close the file again,
// and the hour offsets may only come from the file, from the city it names, or from the fallback.

#include "app/mainform.h"
#include "clock/citytable.h"
#include "clock/houroffsets.h"
#include "fuzzsupport.h"
#include "settings/readsettings.h"
#include "settings/settimedialog.h"
#include "settings/settingsfile.h"

#include <set>

namespace {

constexpr qint16 Untouched = 7777;

int cityOffset(const QString &name)
{
    for (int i = 0; i < CityCount; ++i) {
        if (QLatin1String(CityTable[std::size_t(i)].name) == name)
            return zoneOffsetAt(i);
    }
    return 0;
}

/** The offsets a reader may leave for one dial, given the fields the file holds. */
std::set<int> possibleOffsets(const SettingsFile::Fields &fields, int numberField, int cityField, bool dialog)
{
    std::set<int> possible{Untouched, 0};
    if (fields.status != SettingsFile::ReadStatus::Ok)
        return possible;
    if (const auto number = SettingsFile::toHourOffset(fields.values[numberField]))
        possible.insert(*number);
    if (dialog) {
        const int city = cityOffset(fields.values[cityField]);
        possible.insert(city);
        possible.insert(city + 1);
    }
    return possible;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::application();
    static MainForm *mainForm = [] {
        auto *form = new MainForm(Fuzz::folder());
        form->Form_Load();
        return form;
    }();
    Fuzz::write(QString::fromLatin1(SettingsFile::FileName), data, size);
    const SettingsFile file(Fuzz::folder());
    const SettingsFile::Fields fields = file.readFields();
    const int filesBefore = Fuzz::openFiles();

    HourOffsetA = Untouched;
    HourOffsetB = Untouched;
    ReadSettings(file, *mainForm);
    Fuzz::check(Fuzz::openFiles() == filesBefore, "the main window's reader left the file open");
    Fuzz::check(possibleOffsets(fields, 0, 1, false).count(HourOffsetA), "dial A's offset came from nowhere");
    Fuzz::check(possibleOffsets(fields, 2, 3, false).count(HourOffsetB), "dial B's offset came from nowhere");

    HourOffsetA = Untouched;
    HourOffsetB = Untouched;
    {
        SetTimeDialog dialog(Fuzz::folder(), *mainForm);
        Fuzz::check(possibleOffsets(fields, 0, 1, true).count(HourOffsetA), "the dialog set dial A from nowhere");
        Fuzz::check(possibleOffsets(fields, 2, 3, true).count(HourOffsetB), "the dialog set dial B from nowhere");
    }
    Fuzz::check(Fuzz::openFiles() == filesBefore, "the dialog's reader left the file open");
    return 0;
}

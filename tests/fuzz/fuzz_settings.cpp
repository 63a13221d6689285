// Arbitrary bytes as setTime.properties, read by both readers: the main window's at start-up and the
// clock-settings dialog's when it opens. Nothing may crash, each reader must close the file again,
// and the hour offsets may only come from the file, from the city it names, or from the fallback.

#include "app/mainform.h"
#include "clock/citytable.h"
#include "clock/clockmodel.h"
#include "fuzzsupport.h"
#include "settings/settimedialog.h"
#include "settings/settingsfile.h"

#include <set>

namespace {

constexpr qint16 Untouched = 7777;

int cityOffset(const QString &name)
{
    for (const City &city : cities()) {
        if (QLatin1String(city.name) == name)
            return city.zoneOffset;
    }
    return 0;
}

/** The offsets a reader may leave for one dial, given what the file holds. */
std::set<int> possibleOffsets(const std::optional<qint16> &number, const QString &city, bool dialog)
{
    std::set<int> possible{Untouched, 0};
    if (number)
        possible.insert(*number);
    if (dialog) {
        possible.insert(cityOffset(city));
        possible.insert(cityOffset(city) + 1);
    }
    return possible;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::application();
    static ClockModel clock;
    static MainForm *mainForm = [] {
        auto *form = new MainForm(Fuzz::folder(), clock);
        form->load();
        return form;
    }();
    Fuzz::write(QString::fromLatin1(SettingsFile::FileName), data, size);
    const int filesBefore = Fuzz::openFiles();
    const SavedSettings saved = SettingsFile(Fuzz::folder()).read();
    Fuzz::check(Fuzz::openFiles() == filesBefore, "reading left the file open");

    clock.setOffsets(Untouched, Untouched);
    mainForm->showSavedSettings(saved, clock);
    Fuzz::check(possibleOffsets(saved.offsetA, saved.cityA, false).count(clock.offsetA()),
                "dial A's offset came from nowhere");
    Fuzz::check(possibleOffsets(saved.offsetB, saved.cityB, false).count(clock.offsetB()),
                "dial B's offset came from nowhere");

    clock.setOffsets(Untouched, Untouched);
    {
        SetTimeDialog dialog(Fuzz::folder(), *mainForm, clock);
        Fuzz::check(possibleOffsets(saved.offsetA, saved.cityA, true).count(clock.offsetA()),
                    "the dialog set dial A from nowhere");
        Fuzz::check(possibleOffsets(saved.offsetB, saved.cityB, true).count(clock.offsetB()),
                    "the dialog set dial B from nowhere");
    }
    Fuzz::check(Fuzz::openFiles() == filesBefore, "the dialog's reader left the file open");
    return 0;
}

// Arbitrary bytes as setTime.properties, read by both readers: the main window's at start-up and the
// clock-settings dialog's when it opens. Nothing may crash, each reader must close the file again,
// and the hour offsets may only come from the file, from the city it names, or from the fallback.

#include "app/mainwindow.h"
#include "clock/citytable.h"
#include "clock/clockmodel.h"
#include "fuzzsupport.h"
#include "platform/workingfiles.h"
#include "settings/clocksettingsdialog.h"
#include "settings/settingsfile.h"

static constexpr qint16 Untouched = 7777;

// Whether a reader may have left @p offset for a dial: untouched, Tokyo's, the file's number, or in the dialog the
// zone offset of the city the file names, with or without summer time.
static bool fromTheFile(int offset, const std::optional<qint16> &number, const QString &city, bool dialog)
{
    for (const City &each : cities())
        if (dialog && QLatin1String(each.name) == city && (offset == each.zoneOffset || offset == each.zoneOffset + 1))
            return true;
    return offset == Untouched || offset == 0 || number == offset;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::application();
    static ClockModel clock;
    static auto *mainWindow = new MainWindow(Fuzz::folder(), clock); // made once
    Fuzz::write(QString::fromLatin1(WorkingFiles::Settings), data, size);
    const int filesBefore = Fuzz::openFiles();
    const SavedSettings saved = SettingsFile(Fuzz::folder()).read();
    for (const bool dialog : {false, true}) {
        clock.setState({{QString(), false, Untouched}, {QString(), false, Untouched}});
        if (dialog)
            ClockSettingsDialog(Fuzz::folder(), clock); // opened and closed: its reader sets the clock
        else
            mainWindow->load(); // as at start-up
        const ClockState &read = clock.state();
        Fuzz::check(fromTheFile(read.a.offset, saved.offsetA, saved.cityA, dialog) &&
                        fromTheFile(read.b.offset, saved.offsetB, saved.cityB, dialog),
                    "an hour offset came from nowhere");
    }
    Fuzz::check(Fuzz::openFiles() == filesBefore, "a reader left the file open");
    return 0;
}

// The tick's cost: its computation alone, the tick on a window, and the repaint it causes.
// Run: build/<dir>/bench/bench_tick  (headless: QT_QPA_PLATFORM=offscreen is the default here)

#include "app/mainwindow.h"
#include "clock/clockmodel.h"
#include "clock/handgeometry.h"
#include "clock/timesource.h"
#include "clock/zonetime.h"
#include "dials/dialpair.h"
#include "platform/fonts.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimeZone>

#include <vector>

#include <benchmark/benchmark.h>

namespace {

// A clock that moves one second at every tick, so that no tick is skipped. The readings are made
// beforehand: reading the computer's clock is measured on its own (presentTimeReading).
std::vector<QDateTime> makeReadings()
{
    std::vector<QDateTime> readings;
    const QDateTime start(QDate(2026, 12, 6), QTime(10, 0, 0), QTimeZone::utc());
    for (int i = 0; i < 4096; ++i)
        readings.push_back(start.addSecs(i));
    return readings;
}
const std::vector<QDateTime> g_readings = makeReadings();
std::size_t g_next = 0;
QDateTime g_reading = g_readings.front();

void advanceClock()
{
    g_next = (g_next + 1) % g_readings.size();
    g_reading = g_readings[g_next];
}

void tickComputation(benchmark::State &state)
{
    TimeSource::set([] { return g_reading; });
    const auto dials = HandGeometry::Dials::forWindow(15, 390, 4500, 2200);
    const qint16 offsetA = -14;
    const qint16 offsetB = 1;
    for (auto _ : state) {
        advanceClock();
        const ZoneTime::WallSeconds a = ZoneTime::shifted(ZoneTime::japanTime(TimeSource::now()), offsetA);
        const ZoneTime::TimeOfDay ta = ZoneTime::timeOfDay(a);
        QString textA = ZoneTime::format(ta);
        HandGeometry::Hands handsA = HandGeometry::hands(dials.centreA(), dials.pixelTwips, dials.dialOffset, ta);
        const ZoneTime::WallSeconds b = ZoneTime::shifted(ZoneTime::japanTime(TimeSource::now()), offsetB);
        const ZoneTime::TimeOfDay tb = ZoneTime::timeOfDay(b);
        QString textB = ZoneTime::format(tb);
        HandGeometry::Hands handsB = HandGeometry::hands(dials.centreB(), dials.pixelTwips, dials.dialOffset, tb);
        benchmark::DoNotOptimize(textA);
        benchmark::DoNotOptimize(handsA);
        benchmark::DoNotOptimize(textB);
        benchmark::DoNotOptimize(handsB);
    }
    TimeSource::reset();
}
BENCHMARK(tickComputation);

void presentTimeReading(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ZoneTime::japanTime(QDateTime::currentDateTimeUtc()));
}
BENCHMARK(presentTimeReading);

void tickOnHiddenWindow(benchmark::State &state)
{
    QTemporaryDir folder;
    TimeSource::set([] { return g_reading; });
    ClockModel clock;
    MainWindow mainForm(QDir(folder.path()), clock);
    mainForm.load();
    clock.setState({{QStringLiteral("New York"), false, -14}, {}});
    DialPair *dials = mainForm.findChild<DialPair *>();
    for (auto _ : state) {
        advanceClock();
        dials->tick();
    }
    TimeSource::reset();
}
BENCHMARK(tickOnHiddenWindow);

void tickAndRepaint(benchmark::State &state)
{
    QTemporaryDir folder;
    TimeSource::set([] { return g_reading; });
    ClockModel clock;
    MainWindow mainForm(QDir(folder.path()), clock);
    mainForm.load();
    mainForm.show();
    QCoreApplication::processEvents();
    clock.setState({{QStringLiteral("New York"), false, -14}, {}});
    DialPair *dials = mainForm.findChild<DialPair *>();
    for (auto _ : state) {
        advanceClock();
        dials->tick();
        // Painting happens when the update request is handled, as in the running program.
        QCoreApplication::processEvents();
    }
    TimeSource::reset();
}
BENCHMARK(tickAndRepaint);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Fonts::install();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#include "settings/settingsfile.h"

#include "clock/citytable.h"
#include "platform/atomicfile.h"
#include "platform/regularfile.h"
#include "platform/workingfiles.h"

#include <QFile>

#include <cmath>

namespace {

// Only the first line counts; a longer one cannot be a settings line worth reading whole.
constexpr qint64 MaxLineBytes = 64 * 1024;
constexpr int FieldCount = 6;
constexpr char True[] = "#TRUE#";
constexpr char False[] = "#FALSE#";

QByteArray quoted(const QString &text)
{
    return '"' + text.toUtf8() + '"';
}

} // namespace

SettingsFile::SettingsFile(const QDir &folder)
    : m_folder(folder)
{ }

QString SettingsFile::path() const
{
    return m_folder.filePath(QString::fromLatin1(WorkingFiles::Settings));
}

QByteArray SettingsFile::line(const ClockState &settings)
{
    QByteArray text;
    text += QByteArray::number(settings.a.offset) + ',' + quoted(settings.a.city) + ',';
    text += QByteArray::number(settings.b.offset) + ',' + quoted(settings.b.city) + ',';
    text += QByteArray(settings.a.summerTime ? True : False) + ',';
    text += QByteArray(settings.b.summerTime ? True : False) + "\r\n";
    return text;
}

SettingsFile::WriteResult SettingsFile::write(const ClockState &settings) const
{
    const AtomicFile::Result written = AtomicFile::write(path(), line(settings));
    return {written.ok, written.error};
}

SavedSettings SettingsFile::read() const
{
    SavedSettings saved;
    QFile file(path());
    // Anything but an ordinary file (a folder, a named pipe) counts as no file: the fallback.
    const RegularFile::Status opened = RegularFile::open(file);
    if (opened == RegularFile::Status::Missing)
        return saved;
    if (opened != RegularFile::Status::Read) {
        saved.reading = SavedSettings::Reading::Unreadable;
        return saved;
    }
    QByteArray bytes = file.readLine(MaxLineBytes);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    // CR LF, LF or a lone CR ends the line.
    const qsizetype end = bytes.indexOf('\r');
    if (end >= 0)
        bytes.truncate(end);
    if (bytes.endsWith('\n'))
        bytes.chop(1);

    const QStringList fields = splitFields(QString::fromUtf8(bytes));
    if (fields.size() < FieldCount) {
        saved.reading = SavedSettings::Reading::TooFewFields;
        return saved;
    }
    saved.reading = SavedSettings::Reading::Complete;
    saved.offsetA = toHourOffset(fields[0]);
    saved.cityA = fields[1];
    saved.offsetB = toHourOffset(fields[2]);
    saved.cityB = fields[3];
    // Letter case and hash marks count: "#true#" and "TRUE" are summer time off.
    saved.summerTimeA = fields[4] == QLatin1String(True);
    saved.summerTimeB = fields[5] == QLatin1String(True);
    return saved;
}

QStringList SettingsFile::splitFields(const QString &line)
{
    QStringList fields;
    if (line.trimmed().isEmpty())
        return fields;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (true) {
        while (i < n && (line[i] == u' ' || line[i] == u'\t'))
            ++i;
        if (i < n && line[i] == u'"') {
            // A quoted field runs to the next quote, blanks and commas included; what follows up to the comma is
            // dropped.
            const qsizetype close = line.indexOf(u'"', i + 1);
            const qsizetype stop = close < 0 ? n : close;
            fields.append(line.mid(i + 1, stop - i - 1));
            i = close < 0 ? n : line.indexOf(u',', close + 1);
            if (i < 0)
                i = n;
        } else {
            qsizetype comma = line.indexOf(u',', i);
            if (comma < 0)
                comma = n;
            fields.append(line.mid(i, comma - i).trimmed());
            i = comma;
        }
        if (i >= n)
            break;
        ++i; // past the comma
    }
    return fields;
}

std::optional<qint16> SettingsFile::toHourOffset(const QString &field)
{
    bool ok = false;
    const double value = field.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value);
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<qint16>(rounded);
}

ClockState SavedSettings::forMainWindow(const ClockState &shown) const
{
    if (reading == Reading::NotFound)
        return ClockState::tokyo();
    if (reading != Reading::Complete || !offsetA || !offsetB || cityIndex(cityB) < 0)
        return shown;
    return {{cityA, summerTimeA, *offsetA}, {cityB, summerTimeB, *offsetB}};
}

ClockState SavedSettings::forClockSettings() const
{
    if (reading == Reading::NotFound)
        return ClockState::tokyo();
    ClockState state;
    if (reading != Reading::Complete)
        return state;
    const int indexA = cityIndex(cityA);
    if (indexA < 0)
        return state;
    state.a = {cityA, false, zoneOffsetAt(indexA)};
    const int indexB = cityIndex(cityB);
    if (indexB < 0)
        return state;
    state.b = {cityB, false, zoneOffsetAt(indexB)};
    if (!offsetA)
        return state;
    state.a.offset = *offsetA;
    if (!offsetB)
        return state;
    state.b.offset = *offsetB;
    // Summer time is the city's offset and an hour, whatever offset the file holds.
    if (summerTimeA)
        state.a = {cityA, true, qint16(zoneOffsetAt(indexA) + 1)};
    if (summerTimeB)
        state.b = {cityB, true, qint16(zoneOffsetAt(indexB) + 1)};
    return state;
}

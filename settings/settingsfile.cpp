#include "settings/settingsfile.h"

#include "platform/atomicfile.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace {

// Only the first line counts; a longer one cannot be a settings line worth reading whole.
constexpr qint64 MaxLineBytes = 64 * 1024;
constexpr int FieldCount = 6;

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
    return m_folder.filePath(QString::fromLatin1(FileName));
}

QByteArray SettingsFile::line(const ClockSettings &settings)
{
    QByteArray text;
    text += QByteArray::number(settings.HourOffsetA) + ',' + quoted(settings.CityA) + ',';
    text += QByteArray::number(settings.HourOffsetB) + ',' + quoted(settings.CityB) + ',';
    text += QByteArray(settings.SummerTimeA ? True : False) + ',';
    text += QByteArray(settings.SummerTimeB ? True : False) + "\r\n";
    return text;
}

SettingsFile::WriteResult SettingsFile::write(const ClockSettings &settings) const
{
    const AtomicFile::Result written = AtomicFile::write(path(), line(settings));
    return {written.ok, written.error};
}

SettingsFile::Fields SettingsFile::readFields() const
{
    Fields fields;
    QFile file(path());
    if (!QFileInfo(file.fileName()).exists()) {
        fields.status = ReadStatus::NotFound;
        return fields;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        fields.status = ReadStatus::Unreadable;
        return fields;
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

    const QStringList values = splitFields(QString::fromUtf8(bytes));
    if (values.size() < FieldCount) {
        fields.status = ReadStatus::TooFewFields;
        return fields;
    }
    fields.status = ReadStatus::Ok;
    fields.values = values.mid(0, FieldCount);
    return fields;
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

#pragma once

#include "clock/clockmodel.h"

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>

#include <optional>

/**
 * @brief The settings file as read: how far reading got, and the six fields it found, typed.
 *
 * An offset that is not a whole 16-bit number (after rounding) is missing. Summer time is on only for
 * a field that is exactly "#TRUE#". Each window applies the fields by its own rules.
 */
struct SavedSettings
{
    enum class Reading { NotFound, Unreadable, TooFewFields, Complete };

    Reading reading = Reading::NotFound;
    std::optional<qint16> offsetA;
    QString cityA;
    std::optional<qint16> offsetB;
    QString cityB;
    bool summerTimeA = false;
    bool summerTimeB = false;

    /**
     * What the main window shows at start-up, having shown @p shown: Tokyo on both dials when there is no
     * file; the file's cities, offsets and summer time as they stand (dial A's city need not be one of the
     * table's); @p shown, unchanged, for a damaged file: too few fields, an offset that is no number, or
     * dial B's city missing from the table.
     */
    ClockState forMainWindow(const ClockState &shown) const;

    /**
     * What the clock-settings dialog shows as it opens, its lists just filled: Tokyo on both dials when
     * there is no file. Otherwise the reading takes the saved cities, then the offsets, then the summer
     * time, and stops silently at the first field it cannot take, keeping what came before: a city that
     * is not in the table, an offset that is no number. Choosing a city clears its summer time; summer
     * time works the offset out again from the city.
     */
    ClockState forClockSettings() const;
};

/**
 * @brief The settings file "setTime.properties" in the working folder: one line of six comma-separated fields.
 *
 * The line is `offsetA,"cityA",offsetB,"cityB",#TRUE#|#FALSE#,#TRUE#|#FALSE#` ended by CR LF. Writing
 * replaces the whole file atomically; reading takes the first six fields of the first line.
 */
class SettingsFile
{
public:
    struct WriteResult
    {
        bool ok = false;
        QString error;
    };

    explicit SettingsFile(const QDir &folder);

    SavedSettings read() const;
    WriteResult write(const ClockState &settings) const;

    /** The line the file holds for @p settings, CR LF included. */
    static QByteArray line(const ClockState &settings);

    /** Splits one line into its fields: quoted fields lose their quotes, others their surrounding blanks. */
    static QStringList splitFields(const QString &line);

    /**
     * A field as a 16-bit hour offset: a decimal number rounded to the nearest whole number, a half
     * to the even neighbour. Nothing for text that is not a number or lies outside -32768 to 32767.
     */
    static std::optional<qint16> toHourOffset(const QString &field);

private:
    QString path() const;

    QDir m_folder;
};

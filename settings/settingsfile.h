#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>

#include <optional>

/** What the settings file holds: each dial's hour offset, city and summer-time flag. */
struct ClockSettings
{
    qint16 HourOffsetA = 0;
    QString CityA;
    qint16 HourOffsetB = 0;
    QString CityB;
    bool SummerTimeA = false;
    bool SummerTimeB = false;
};

/**
 * @brief The settings file "setTime.properties" in the working folder: one line of six comma-separated fields.
 *
 * The line is `offsetA,"cityA",offsetB,"cityB",#TRUE#|#FALSE#,#TRUE#|#FALSE#` ended by CR LF. Writing
 * replaces the whole file atomically; reading splits the first line into its first six fields and
 * leaves their meaning to the readers (the main window's and the clock-settings dialog's).
 */
class SettingsFile
{
public:
    static constexpr char FileName[] = "setTime.properties";
    static constexpr char True[] = "#TRUE#";
    static constexpr char False[] = "#FALSE#";

    enum class ReadStatus { Ok, NotFound, Unreadable, TooFewFields };

    struct Fields
    {
        ReadStatus status = ReadStatus::NotFound;
        QStringList values; ///< exactly six when status is Ok
    };

    struct WriteResult
    {
        bool ok = false;
        QString error;
    };

    explicit SettingsFile(const QDir &folder);

    QString path() const;

    Fields readFields() const;
    WriteResult write(const ClockSettings &settings) const;

    /** The line the file holds for @p settings, CR LF included. */
    static QByteArray line(const ClockSettings &settings);

    /** Splits one line into its fields: quoted fields lose their quotes, others their surrounding blanks. */
    static QStringList splitFields(const QString &line);

    /**
     * A field as a 16-bit hour offset: a decimal number rounded to the nearest whole number, a half
     * to the even neighbour. Nothing for text that is not a number or lies outside -32768 to 32767.
     */
    static std::optional<qint16> toHourOffset(const QString &field);

    /** Summer time is on only for a field that is exactly #TRUE#: letter case and hash marks count. */
    static bool isTrue(const QString &field) { return field == QLatin1String(True); }

private:
    QDir m_folder;
};

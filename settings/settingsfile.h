#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>

#include <optional>

/** The clock settings the file keeps: each dial's hour offset, city and summer-time flag. */
struct ClockSettings
{
    qint16 offsetA = 0;
    QString cityA;
    qint16 offsetB = 0;
    QString cityB;
    bool summerTimeA = false;
    bool summerTimeB = false;
};

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
    static constexpr char FileName[] = "setTime.properties";

    struct WriteResult
    {
        bool ok = false;
        QString error;
    };

    explicit SettingsFile(const QDir &folder);

    SavedSettings read() const;
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

private:
    QString path() const;

    QDir m_folder;
};

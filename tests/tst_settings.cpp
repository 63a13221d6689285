#include "settings/settingsfile.h"
#include "testsupport.h"

#include <QFile>

namespace {

const QString FileName = QStringLiteral("setTime.properties");

ClockSettings settings(qint16 a, const char *cityA, qint16 b, const char *cityB, bool summerA, bool summerB)
{
    return {a, QString::fromLatin1(cityA), b, QString::fromLatin1(cityB), summerA, summerB};
}

} // namespace

Q_DECLARE_METATYPE(ClockSettings)

class TestSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writerReplacesTheFileWithOneExactLine_data()
    {
        QTest::addColumn<ClockSettings>("settings");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("New York with summer time") << settings(-13, "New York", 0, "Tokyo", true, false)
                                                   << QByteArray("-13,\"New York\",0,\"Tokyo\",#TRUE#,#FALSE#\r\n");
        QTest::newRow("Chicago keeps its blank") << settings(-15, "Chicago ", 2, "Sydney", false, true)
                                                 << QByteArray("-15,\"Chicago \",2,\"Sydney\",#FALSE#,#TRUE#\r\n");
        QTest::newRow("nothing selected")
            << settings(0, "", 0, "", false, false) << QByteArray("0,\"\",0,\"\",#FALSE#,#FALSE#\r\n");
        QTest::newRow("whole offset range") << settings(-32768, "Tokyo", 32767, "Tokyo", false, false)
                                            << QByteArray("-32768,\"Tokyo\",32767,\"Tokyo\",#FALSE#,#FALSE#\r\n");
    }
    void writerReplacesTheFileWithOneExactLine()
    {
        QFETCH(ClockSettings, settings);
        QFETCH(QByteArray, line);
        WorkingFolder folder;
        VERIFY_FOLDER(folder);
        QVERIFY(folder.write(FileName, QByteArray(4000, 'x') + "\r\nsecond line\r\n"));
        QVERIFY(SettingsFile(folder.dir()).write(settings).ok);
        QCOMPARE(folder.read(FileName), line);
        QCOMPARE(folder.dir().entryList(QDir::Files), QStringList{FileName});
    }

    void failedWriteKeepsThePreviousFile_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::newRow("read-only folder") << QStringLiteral("read-only");
        QTest::newRow("full disk") << QStringLiteral("full");
        QTest::newRow("vanished folder") << QStringLiteral("vanished");
    }
    void failedWriteKeepsThePreviousFile()
    {
        QFETCH(QString, failure);
        WorkingFolder folder;
        VERIFY_FOLDER(folder);
        const QByteArray previous("-14,\"New York\",0,\"Tokyo\",#FALSE#,#FALSE#\r\n");
        QVERIFY(folder.write(FileName, previous));
        SettingsFile::WriteResult result;
        if (failure == QStringLiteral("vanished")) {
            result =
                SettingsFile(QDir(folder.path(QStringLiteral("gone")))).write(settings(0, "Tokyo", 0, "Tokyo", 0, 0));
        } else {
            std::optional<ReadOnlyFolder> readOnly;
            std::optional<FullDisk> full;
            failure == QStringLiteral("full") ? void(full.emplace())
                                              : void(readOnly.emplace(folder.dir().absolutePath()));
            if (!(full ? full->isActive() : readOnly->isActive()))
                QSKIP(full ? full->whyInactive() : readOnly->whyInactive());
            result = SettingsFile(folder.dir()).write(settings(1, "Sydney", 0, "Tokyo", false, false));
        }
        QVERIFY(!result.ok);
        QVERIFY(!result.error.isEmpty());
        QCOMPARE(folder.read(FileName), previous);
        QCOMPARE(folder.dir().entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{FileName});
    }

    void fieldsAreSplitLikeTheWriterJoinsThem_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("fields"); // joined by '|'
        QTest::newRow("the writer's line") << QStringLiteral("-13,\"New York\",0,\"Tokyo\",#TRUE#,#FALSE#")
                                           << QStringLiteral("-13|New York|0|Tokyo|#TRUE#|#FALSE#");
        QTest::newRow("quoted blank and comma kept")
            << QStringLiteral("\"Chicago \",\"a,b\",\"\"") << QStringLiteral("Chicago |a,b|");
        QTest::newRow("blanks around unquoted fields dropped")
            << QStringLiteral(" 5 , \"Tokyo\" ,#TRUE# ") << QStringLiteral("5|Tokyo|#TRUE#");
        QTest::newRow("unclosed quote runs to the end") << QStringLiteral("1,\"Tok") << QStringLiteral("1|Tok");
        QTest::newRow("trailing comma is an empty field") << QStringLiteral("1,2,") << QStringLiteral("1|2|");
    }
    void fieldsAreSplitLikeTheWriterJoinsThem()
    {
        QFETCH(QString, line);
        QFETCH(QString, fields);
        QCOMPARE(SettingsFile::splitFields(line).join(QLatin1Char('|')), fields);
    }

    void onlyTheFirstLineIsRead_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("cityB"); // empty: too few fields
        const QByteArray line("0,\"Tokyo\",1,\"Sydney\",#FALSE#,#FALSE#");
        QTest::newRow("CR LF") << line + "\r\n" << QStringLiteral("Sydney");
        QTest::newRow("LF") << line + "\n" << QStringLiteral("Sydney");
        QTest::newRow("no line end") << line << QStringLiteral("Sydney");
        QTest::newRow("extra fields and lines") << line + ",7,\"x\"\r\nmore\r\n" << QStringLiteral("Sydney");
        QTest::newRow("byte-order mark") << "\xEF\xBB\xBF" + line << QStringLiteral("Sydney");
        QTest::newRow("five fields") << QByteArray("0,\"Tokyo\",1,\"Sydney\",#FALSE#\r\n") << QString();
        QTest::newRow("six fields over two lines")
            << QByteArray("0,\"Tokyo\",1\r\n\"Sydney\",#FALSE#,#FALSE#\r\n") << QString();
        QTest::newRow("empty file") << QByteArray() << QString();
        QTest::newRow("binary junk") << QByteArray("\x00\xff\x01,\x02", 5) << QString();
    }
    void onlyTheFirstLineIsRead()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, cityB);
        WorkingFolder folder;
        VERIFY_FOLDER(folder);
        QVERIFY(folder.write(FileName, bytes));
        const SavedSettings saved = SettingsFile(folder.dir()).read();
        QCOMPARE(saved.reading == SavedSettings::Reading::Complete, !cityB.isEmpty());
        if (!cityB.isEmpty())
            QCOMPARE(saved.cityB, cityB);
    }

    void hourOffsetConversion_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("offset"); // empty: not an offset
        QTest::newRow("whole") << QStringLiteral("-13") << QStringLiteral("-13");
        QTest::newRow("half to even, down") << QStringLiteral("2.5") << QStringLiteral("2");
        QTest::newRow("half to even, up") << QStringLiteral("3.5") << QStringLiteral("4");
        QTest::newRow("limits") << QStringLiteral("-32768") << QStringLiteral("-32768");
        QTest::newRow("rounds into range") << QStringLiteral("32767.4") << QStringLiteral("32767");
        QTest::newRow("rounds out of range") << QStringLiteral("32767.5") << QString();
        QTest::newRow("too small") << QStringLiteral("-32769") << QString();
        QTest::newRow("text") << QStringLiteral("Tokyo") << QString();
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("not a number") << QStringLiteral("nan") << QString();
        QTest::newRow("infinite") << QStringLiteral("inf") << QString();
    }
    void hourOffsetConversion()
    {
        QFETCH(QString, field);
        QFETCH(QString, offset);
        const std::optional<qint16> converted = SettingsFile::toHourOffset(field);
        QCOMPARE(converted ? QString::number(*converted) : QString(), offset);
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"

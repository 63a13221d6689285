#include "settings/settingsfile.h"
#include "testsupport.h"

using namespace Qt::StringLiterals;
using Reading = SavedSettings::Reading;

static const QString FileName = u"setTime.properties"_s;

bool operator==(const SavedSettings &a, const SavedSettings &b)
{
    return a.reading == b.reading && a.offsetA == b.offsetA && a.cityA == b.cityA && a.offsetB == b.offsetB &&
        a.cityB == b.cityB && a.summerTimeA == b.summerTimeA && a.summerTimeB == b.summerTimeB;
}

// "reading 3: -13 New York | 2 Sydney summer", a missing offset as "-".
char *toString(const SavedSettings &saved)
{
    const auto offset = [](std::optional<qint16> o) {
        return o ? QString::number(*o) : u"-"_s;
    };
    return QTest::toString(u"reading %1: %2 %3%4 | %5 %6%7"_s.arg(int(saved.reading))
                               .arg(offset(saved.offsetA), saved.cityA, saved.summerTimeA ? u" summer"_s : QString(),
                                    offset(saved.offsetB), saved.cityB, saved.summerTimeB ? u" summer"_s : QString()));
}

class TestSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writerReplacesTheFileWithOneExactLine()
    {
        WorkingFolder folder;
        QVERIFY(folder.write(FileName, QByteArray(4000, 'x') + "\r\nsecond line\r\n"));
        QVERIFY(SettingsFile(folder.dir()).write({{u"Chicago "_s, true, -32768}, {QString(), false, 32767}}).ok);
        QCOMPARE(folder.read(FileName), QByteArray("-32768,\"Chicago \",32767,\"\",#TRUE#,#FALSE#\r\n"));
        QCOMPARE(folder.entries(), QStringList{FileName}); // no temporary file beside it
    }

    void readsTheFirstSixFieldsOfTheFirstLine_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
        QTest::addColumn<SavedSettings>("found");
        const QByteArray line("-13,\"New York\",2,\"Sydney\",#FALSE#,#TRUE#");
        const SavedSettings saved{Reading::Complete, -13, u"New York"_s, 2, u"Sydney"_s, false, true};
        const SavedSettings tooFew{Reading::TooFewFields, {}, {}, {}, {}, false, false};
        QTest::newRow("no file") << QByteArray() << SavedSettings();
        QTest::newRow("CR LF, extra fields, more lines") << line + ",7,\"x\"\r\nmore\r\n" << saved;
        QTest::newRow("a lone CR, and no line end") << line + "\r7" << saved;
        QTest::newRow("byte-order mark, LF") << "\xEF\xBB\xBF" + line + "\n" << saved;
        QTest::newRow("five fields") << QByteArray("0,\"Tokyo\",1,\"Sydney\",#FALSE#\r\n") << tooFew;
        QTest::newRow("six fields over two lines")
            << QByteArray("0,\"Tokyo\",1\r\n\"Sydney\",#FALSE#,#FALSE#") << tooFew;
        // A line one byte short of 64 KiB is read whole; of a longer one only that much, here short of its last letter.
        QTest::newRow("64 KiB less a byte") << QByteArray(65535 - line.size(), ' ') + line << saved;
        QTest::newRow("64 KiB") << QByteArray(65536 - line.size(), ' ') + line
                                << SavedSettings{Reading::Complete, -13, u"New York"_s, 2, u"Sydney"_s};
        QTest::newRow("70,000 bytes") << QByteArray(70000, ' ') + line << tooFew;
        QTest::newRow("binary junk") << QByteArray("\x00\xff\x01,\x02", 5) << tooFew;
        QTest::newRow("an unclosed quote runs to the end") << QByteArray("1,\"A\",2,\"B,#TRUE#,#TRUE#") << tooFew;
        QTest::newRow("blanks around unquoted fields, kept inside quotes")
            << QByteArray(" 5 ,\"Chicago \", -15 ,\"a,b\" , #TRUE# ,#TRUE#")
            << SavedSettings{Reading::Complete, 5, u"Chicago "_s, -15, u"a,b"_s, true, true};
        QTest::newRow("summer time only for #TRUE#")
            << QByteArray("0,\"\",0,\"\",#true#,TRUE") << SavedSettings{Reading::Complete, 0, {}, 0, {}, false, false};
        QTest::newRow("offsets rounded half to even")
            << QByteArray("2.5,\"A\",-3.5,\"B\",0,0") << SavedSettings{Reading::Complete, 2, u"A"_s, -4, u"B"_s};
        QTest::newRow("offsets at and past the limits") << QByteArray("-32768,\"A\",32767.5,\"B\",0,0")
                                                        << SavedSettings{Reading::Complete, -32768, u"A"_s, {}, u"B"_s};
        QTest::newRow("offsets no number, last field empty")
            << QByteArray("nan,\"A\",Tokyo,\"B\",0,") << SavedSettings{Reading::Complete, {}, u"A"_s, {}, u"B"_s};
    }
    void readsTheFirstSixFieldsOfTheFirstLine()
    {
        QFETCH(QByteArray, bytes);
        WorkingFolder folder;
        QVERIFY(bytes.isEmpty() || folder.write(FileName, bytes));
        QTEST(SettingsFile(folder.dir()).read(), "found");
        QCOMPARE(folder.read(FileName), bytes); // reading never writes
    }

    void eachWindowTakesWhatItCanOfTheFile_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
        // The main window at start-up: all or nothing, dial A's caption unchecked.
        QTest::addColumn<ClockState>("mainWindow");
        // The clock-settings dialog: cities, then offsets, then summer time, up to the first field it cannot take.
        QTest::addColumn<ClockState>("clockSettings");
        const ClockState none;
        QTest::newRow("no file") << QByteArray() << ClockState::tokyo() << ClockState::tokyo();
        // The offsets as they stand for the main window; for the dialog summer time is the city's offset and an hour.
        QTest::newRow("saved choice") << QByteArray("-13,\"New York\",7,\"Sydney\",#TRUE#,#TRUE#")
                                      << ClockState{{u"New York"_s, true, -13}, {u"Sydney"_s, true, 7}}
                                      << ClockState{{u"New York"_s, true, -13}, {u"Sydney"_s, true, 2}};
        QTest::newRow("no summer time, offsets that are not the cities'")
            << QByteArray("5,\"Tokyo\",4,\"London\",#FALSE#,TRUE")
            << ClockState{{u"Tokyo"_s, false, 5}, {u"London"_s, false, 4}}
            << ClockState{{u"Tokyo"_s, false, 5}, {u"London"_s, false, 4}};
        QTest::newRow("dial A's city not in the table")
            << QByteArray("5,\"Atlantis\",0,\"Tokyo\",#TRUE#,0")
            << ClockState{{u"Atlantis"_s, true, 5}, {u"Tokyo"_s, false, 0}} << none;
        QTest::newRow("dial B's city not in the table")
            << QByteArray("5,\"Cairo\",1,\"Chicago\",#TRUE#,#TRUE#") << none << ClockState{{u"Cairo"_s, false, -7}, {}};
        QTest::newRow("offset A no number") << QByteArray("x,\"Oslo\",3,\"Wellington\",#TRUE#,#TRUE#") << none
                                            << ClockState{{u"Oslo"_s, false, -8}, {u"Wellington"_s, false, 3}};
        QTest::newRow("offset B past the limit") << QByteArray("4,\"Oslo\",40000,\"Wellington\",#TRUE#,#TRUE#") << none
                                                 << ClockState{{u"Oslo"_s, false, 4}, {u"Wellington"_s, false, 3}};
        QTest::newRow("too few fields") << QByteArray("0,\"Tokyo\",0,\"Tokyo\",#TRUE#") << none << none;
    }
    void eachWindowTakesWhatItCanOfTheFile()
    {
        QFETCH(QByteArray, bytes);
        WorkingFolder folder;
        QVERIFY(bytes.isEmpty() || folder.write(FileName, bytes));
        const SavedSettings saved = SettingsFile(folder.dir()).read();
        QTEST(saved.forMainWindow(ClockState()), "mainWindow");
        QTEST(saved.forClockSettings(), "clockSettings");
        // A damaged file leaves the main window as it was.
        const ClockState shown{{u"Rome"_s, true, -7}, {u"Oslo"_s, false, -8}};
        QCOMPARE(saved.forMainWindow(shown) == shown, saved.forMainWindow(ClockState()) == ClockState());
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"

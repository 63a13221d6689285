#include "clock/citytable.h"
#include "clock/houroffsets.h"
#include "fakemainform.h"
#include "settings/mainformcontrols.h"
#include "settings/readsettings.h"
#include "settings/settingsfile.h"
#include "testsupport.h"

#include <QFile>

namespace {

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
    void init();

    void lineIsByteExact_data();
    void lineIsByteExact();
    void writeReplacesTheWholeFile();
    void failedWriteKeepsThePreviousFile_data();
    void failedWriteKeepsThePreviousFile();
    void writeToVanishedFolderFails();

    void fieldsAreSplitLikeTheWriterJoinsThem_data();
    void fieldsAreSplitLikeTheWriterJoinsThem();
    void onlyTheFirstLineIsRead_data();
    void onlyTheFirstLineIsRead();
    void hourOffsetConversion_data();
    void hourOffsetConversion();

    void missingFileShowsTokyoOnBothDials();
    void savedFileIsPutOnTheMainWindow();
    void summerTimeNeedsTheExactSpelling_data();
    void summerTimeNeedsTheExactSpelling();
    void damagedFileStopsAtTheFailingStep_data();
    void damagedFileStopsAtTheFailingStep();
    void unreadableFileChangesNothing();
    void cityAIsNotCheckedAgainstTheTable();
    void writtenFileReadsBackTheSame();
};

void TestSettings::init()
{
    HourOffsetA = 0;
    HourOffsetB = 0;
}

void TestSettings::lineIsByteExact_data()
{
    QTest::addColumn<ClockSettings>("settings");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("New York with summer time, Tokyo") << settings(-13, "New York", 0, "Tokyo", true, false)
                                                      << QByteArray("-13,\"New York\",0,\"Tokyo\",#TRUE#,#FALSE#\r\n");
    QTest::newRow("Chicago keeps its trailing blank") << settings(-15, "Chicago ", 2, "Sydney", false, true)
                                                      << QByteArray("-15,\"Chicago \",2,\"Sydney\",#FALSE#,#TRUE#\r\n");
    QTest::newRow("nothing selected is an empty text")
        << settings(0, "", 0, "", false, false) << QByteArray("0,\"\",0,\"\",#FALSE#,#FALSE#\r\n");
    QTest::newRow("offsets as they stand, whole range")
        << settings(-32768, "Tokyo", 32767, "Tokyo", false, false)
        << QByteArray("-32768,\"Tokyo\",32767,\"Tokyo\",#FALSE#,#FALSE#\r\n");
}

void TestSettings::lineIsByteExact()
{
    QFETCH(ClockSettings, settings);
    QFETCH(QByteArray, line);
    WorkingFolder folder;
    VERIFY_FOLDER(folder);
    const SettingsFile file(folder.dir());
    QVERIFY(file.write(settings).ok);
    QCOMPARE(folder.read(QStringLiteral("setTime.properties")), line);
}

void TestSettings::writeReplacesTheWholeFile()
{
    WorkingFolder folder;
    VERIFY_FOLDER(folder);
    QVERIFY(folder.write(QStringLiteral("setTime.properties"), QByteArray(4000, 'x') + "\r\nsecond line\r\n"));
    QVERIFY(SettingsFile(folder.dir()).write(settings(1, "Sydney", 0, "Tokyo", false, false)).ok);
    QCOMPARE(folder.read(QStringLiteral("setTime.properties")),
             QByteArray("1,\"Sydney\",0,\"Tokyo\",#FALSE#,#FALSE#\r\n"));
    QCOMPARE(folder.dir().entryList(QDir::Files), QStringList{QStringLiteral("setTime.properties")});
}

void TestSettings::failedWriteKeepsThePreviousFile_data()
{
    QTest::addColumn<bool>("diskFull");
    QTest::newRow("read-only folder") << false;
    QTest::newRow("full disk") << true;
}

void TestSettings::failedWriteKeepsThePreviousFile()
{
    QFETCH(bool, diskFull);
    WorkingFolder folder;
    VERIFY_FOLDER(folder);
    const QByteArray previous("-14,\"New York\",0,\"Tokyo\",#FALSE#,#FALSE#\r\n");
    QVERIFY(folder.write(QStringLiteral("setTime.properties"), previous));

    SettingsFile::WriteResult result;
    {
        std::optional<ReadOnlyFolder> readOnly;
        std::optional<FullDisk> full;
        if (diskFull)
            full.emplace();
        else
            readOnly.emplace(folder.dir().absolutePath());
        if (!(full ? full->isActive() : readOnly->isActive()))
            QSKIP("this failure cannot be made here");
        result = SettingsFile(folder.dir()).write(settings(1, "Sydney", 0, "Tokyo", false, false));
    }
    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    QCOMPARE(folder.read(QStringLiteral("setTime.properties")), previous);
    QCOMPARE(folder.dir().entryList(QDir::Files), QStringList{QStringLiteral("setTime.properties")});
}

void TestSettings::writeToVanishedFolderFails()
{
    WorkingFolder folder;
    VERIFY_FOLDER(folder);
    const SettingsFile vanished(QDir(folder.path(QStringLiteral("gone"))));
    QVERIFY(!vanished.write(settings(0, "Tokyo", 0, "Tokyo", false, false)).ok);
    QVERIFY(!QFile::exists(folder.path(QStringLiteral("gone"))));
}

void TestSettings::fieldsAreSplitLikeTheWriterJoinsThem_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("the writer's line") << QStringLiteral("-13,\"New York\",0,\"Tokyo\",#TRUE#,#FALSE#")
                                       << QStringList{QStringLiteral("-13"),    QStringLiteral("New York"),
                                                      QStringLiteral("0"),      QStringLiteral("Tokyo"),
                                                      QStringLiteral("#TRUE#"), QStringLiteral("#FALSE#")};
    QTest::newRow("quoted blank and comma kept")
        << QStringLiteral("\"Chicago \",\"a,b\",\"\"")
        << QStringList{QStringLiteral("Chicago "), QStringLiteral("a,b"), QString()};
    QTest::newRow("blanks around unquoted fields dropped")
        << QStringLiteral(" 5 , \"Tokyo\" ,#TRUE# ")
        << QStringList{QStringLiteral("5"), QStringLiteral("Tokyo"), QStringLiteral("#TRUE#")};
    QTest::newRow("unclosed quote runs to the end")
        << QStringLiteral("1,\"Tok") << QStringList{QStringLiteral("1"), QStringLiteral("Tok")};
    QTest::newRow("trailing comma is an empty field")
        << QStringLiteral("1,2,") << QStringList{QStringLiteral("1"), QStringLiteral("2"), QString()};
    QTest::newRow("empty line") << QString() << QStringList();
}

void TestSettings::fieldsAreSplitLikeTheWriterJoinsThem()
{
    QFETCH(QString, line);
    QFETCH(QStringList, fields);
    QCOMPARE(SettingsFile::splitFields(line), fields);
}

void TestSettings::onlyTheFirstLineIsRead_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("cityB");
    const int ok = int(SettingsFile::ReadStatus::Ok);
    const int tooFew = int(SettingsFile::ReadStatus::TooFewFields);
    QTest::newRow("CR LF") << QByteArray("0,\"Tokyo\",1,\"Sydney\",#FALSE#,#FALSE#\r\n") << ok
                           << QStringLiteral("Sydney");
    QTest::newRow("LF") << QByteArray("0,\"Tokyo\",1,\"Sydney\",#FALSE#,#FALSE#\n") << ok << QStringLiteral("Sydney");
    QTest::newRow("no line end") << QByteArray("0,\"Tokyo\",1,\"Sydney\",#FALSE#,#FALSE#") << ok
                                 << QStringLiteral("Sydney");
    QTest::newRow("extra fields and lines")
        << QByteArray("0,\"Tokyo\",1,\"Sydney\",#FALSE#,#FALSE#,7,\"x\"\r\nmore\r\n") << ok << QStringLiteral("Sydney");
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF"
                                                   "0,\"Tokyo\",1,\"Sydney\",#FALSE#,#FALSE#\r\n")
                                     << ok << QStringLiteral("Sydney");
    QTest::newRow("five fields") << QByteArray("0,\"Tokyo\",1,\"Sydney\",#FALSE#\r\n") << tooFew << QString();
    QTest::newRow("six fields over two lines")
        << QByteArray("0,\"Tokyo\",1\r\n\"Sydney\",#FALSE#,#FALSE#\r\n") << tooFew << QString();
    QTest::newRow("empty file") << QByteArray() << tooFew << QString();
    QTest::newRow("binary junk") << QByteArray("\x00\xff\x01,\x02", 5) << tooFew << QString();
}

void TestSettings::onlyTheFirstLineIsRead()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    QFETCH(QString, cityB);
    WorkingFolder folder;
    VERIFY_FOLDER(folder);
    QVERIFY(folder.write(QStringLiteral("setTime.properties"), bytes));
    const SettingsFile::Fields fields = SettingsFile(folder.dir()).readFields();
    QCOMPARE(int(fields.status), status);
    if (fields.status == SettingsFile::ReadStatus::Ok) {
        QCOMPARE(fields.values.size(), 6);
        QCOMPARE(fields.values[3], cityB);
    }
}

void TestSettings::hourOffsetConversion_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("offset");
    QTest::newRow("whole") << QStringLiteral("-13") << true << -13;
    QTest::newRow("half rounds to even, down") << QStringLiteral("2.5") << true << 2;
    QTest::newRow("half rounds to even, up") << QStringLiteral("3.5") << true << 4;
    QTest::newRow("negative half") << QStringLiteral("-0.5") << true << 0;
    QTest::newRow("largest") << QStringLiteral("32767") << true << 32767;
    QTest::newRow("smallest") << QStringLiteral("-32768") << true << -32768;
    QTest::newRow("too large") << QStringLiteral("32768") << false << 0;
    QTest::newRow("too small") << QStringLiteral("-32769") << false << 0;
    QTest::newRow("rounds into range") << QStringLiteral("32767.4") << true << 32767;
    QTest::newRow("rounds out of range") << QStringLiteral("32767.5") << false << 0;
    QTest::newRow("text") << QStringLiteral("Tokyo") << false << 0;
    QTest::newRow("empty") << QString() << false << 0;
    QTest::newRow("not a number") << QStringLiteral("nan") << false << 0;
    QTest::newRow("infinite") << QStringLiteral("inf") << false << 0;
}

void TestSettings::hourOffsetConversion()
{
    QFETCH(QString, field);
    QFETCH(bool, valid);
    QFETCH(int, offset);
    const std::optional<qint16> converted = SettingsFile::toHourOffset(field);
    QCOMPARE(converted.has_value(), valid);
    if (valid)
        QCOMPARE(int(*converted), offset);
}

void TestSettings::missingFileShowsTokyoOnBothDials()
{
    WorkingFolder folder;
    VERIFY_FOLDER(folder);
    HourOffsetA = 7;
    HourOffsetB = 7;
    FakeMainForm mainForm;
    ReadSettings(SettingsFile(folder.dir()), mainForm);
    QCOMPARE(mainForm.log,
             (QStringList{QStringLiteral("select Tokyo"), QStringLiteral("captionA Tokyo"),
                          QStringLiteral("captionB Tokyo"), QStringLiteral("tagA 0"), QStringLiteral("tagB 0")}));
    QCOMPARE(HourOffsetA, 0);
    QCOMPARE(HourOffsetB, 0);
    QVERIFY(!QFile::exists(folder.path(QStringLiteral("setTime.properties"))));
}

void TestSettings::savedFileIsPutOnTheMainWindow()
{
    WorkingFolder folder;
    VERIFY_FOLDER(folder);
    QVERIFY(folder.write(QStringLiteral("setTime.properties"), "-13,\"New York\",2,\"Sydney\",#TRUE#,#TRUE#\r\n"));
    FakeMainForm mainForm;
    ReadSettings(SettingsFile(folder.dir()), mainForm);
    // The list handler runs first; the steps after it set dial B's offset, caption and tag again.
    QCOMPARE(mainForm.log.first(), QStringLiteral("select Sydney"));
    QCOMPARE(HourOffsetA, -13);
    QCOMPARE(HourOffsetB, 2);
    QCOMPARE(mainForm.captionA, QStringLiteral("New York"));
    QCOMPARE(mainForm.captionB, QStringLiteral("Sydney"));
    QVERIFY(mainForm.tagA);
    QVERIFY(mainForm.tagB);
}

void TestSettings::summerTimeNeedsTheExactSpelling_data()
{
    QTest::addColumn<QByteArray>("flag");
    QTest::addColumn<bool>("shown");
    QTest::newRow("exact") << QByteArray("#TRUE#") << true;
    QTest::newRow("lower case") << QByteArray("#true#") << false;
    QTest::newRow("no hash marks") << QByteArray("TRUE") << false;
    QTest::newRow("quoted") << QByteArray("\"#TRUE#\"") << true;
    QTest::newRow("false") << QByteArray("#FALSE#") << false;
    QTest::newRow("anything") << QByteArray("1") << false;
}

void TestSettings::summerTimeNeedsTheExactSpelling()
{
    QFETCH(QByteArray, flag);
    QFETCH(bool, shown);
    WorkingFolder folder;
    VERIFY_FOLDER(folder);
    QVERIFY(folder.write(QStringLiteral("setTime.properties"),
                         "-13,\"New York\",0,\"Tokyo\"," + flag + "," + flag + "\r\n"));
    FakeMainForm mainForm;
    ReadSettings(SettingsFile(folder.dir()), mainForm);
    QCOMPARE(mainForm.tagA, shown);
    QCOMPARE(mainForm.tagB, shown);
    QCOMPARE(HourOffsetA, -13); // the file's number stands, whatever the flag says
}

void TestSettings::damagedFileStopsAtTheFailingStep_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<int>("offsetB");
    QTest::newRow("five fields") << QByteArray("5,\"Tokyo\",1,\"Sydney\",#TRUE#\r\n") << QStringList() << 99;
    QTest::newRow("field 1 not a number")
        << QByteArray("x,\"Tokyo\",1,\"Sydney\",#TRUE#,#TRUE#\r\n") << QStringList() << 99;
    QTest::newRow("field 3 out of range")
        << QByteArray("0,\"Tokyo\",40000,\"Sydney\",#TRUE#,#TRUE#\r\n") << QStringList() << 99;
    QTest::newRow("dial B's city without its blank") << QByteArray("0,\"Tokyo\",-15,\"Chicago\",#FALSE#,#FALSE#\r\n")
                                                     << QStringList{QStringLiteral("no entry Chicago")} << 99;
}

void TestSettings::damagedFileStopsAtTheFailingStep()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, log);
    QFETCH(int, offsetB);
    WorkingFolder folder;
    VERIFY_FOLDER(folder);
    QVERIFY(folder.write(QStringLiteral("setTime.properties"), bytes));
    HourOffsetA = 99;
    HourOffsetB = 99;
    FakeMainForm mainForm;
    ReadSettings(SettingsFile(folder.dir()), mainForm);
    QCOMPARE(mainForm.log, log);
    QCOMPARE(int(HourOffsetA), 99);
    QCOMPARE(int(HourOffsetB), offsetB);
}

void TestSettings::unreadableFileChangesNothing()
{
    WorkingFolder folder;
    VERIFY_FOLDER(folder);
    QVERIFY(folder.dir().mkdir(QStringLiteral("setTime.properties"))); // present, but no file to read
    FakeMainForm mainForm;
    ReadSettings(SettingsFile(folder.dir()), mainForm);
    QVERIFY(mainForm.log.isEmpty());
}

void TestSettings::cityAIsNotCheckedAgainstTheTable()
{
    WorkingFolder folder;
    VERIFY_FOLDER(folder);
    QVERIFY(folder.write(QStringLiteral("setTime.properties"), "5,\"Atlantis\",0,\"Tokyo\",#FALSE#,#FALSE#\r\n"));
    FakeMainForm mainForm;
    ReadSettings(SettingsFile(folder.dir()), mainForm);
    QCOMPARE(mainForm.captionA, QStringLiteral("Atlantis"));
    QCOMPARE(HourOffsetA, 5);
}

void TestSettings::writtenFileReadsBackTheSame()
{
    WorkingFolder folder;
    VERIFY_FOLDER(folder);
    const SettingsFile file(folder.dir());
    QVERIFY(file.write(settings(-14, "Chicago ", 4, "Wellington", true, true)).ok);
    FakeMainForm mainForm;
    ReadSettings(file, mainForm);
    QCOMPARE(mainForm.captionA, QStringLiteral("Chicago "));
    QCOMPARE(mainForm.captionB, QStringLiteral("Wellington"));
    QCOMPARE(HourOffsetA, -14);
    QCOMPARE(HourOffsetB, 4);
    QVERIFY(mainForm.tagA && mainForm.tagB);
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"

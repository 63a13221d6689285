#include "settings/settingsfile.h"
#include "testsupport.h"

using namespace Qt::StringLiterals;

static const QString FileName = u"setTime.properties"_s;

class TestSettings : public QObject
{
    Q_OBJECT

    static QString offset(std::optional<qint16> o) { return o ? QString::number(*o) : u"-"_s; }

    /** What a reading found: "offsetA|cityA|offsetB|cityB|summerA|summerB" with "-" for a missing offset, or how
     * far the reading got: 0 no file, 2 too few fields. */
    static QString summary(const SavedSettings &saved)
    {
        if (saved.reading != SavedSettings::Reading::Complete)
            return QString::number(int(saved.reading));
        return u"%1|%2|%3|%4|%5|%6"_s.arg(offset(saved.offsetA), saved.cityA, offset(saved.offsetB), saved.cityB,
                                          QString::number(saved.summerTimeA), QString::number(saved.summerTimeB));
    }

private Q_SLOTS:
    void writerReplacesTheFileWithOneExactLine()
    {
        WorkingFolder folder;
        QVERIFY(folder.write(FileName, QByteArray(4000, 'x') + "\r\nsecond line\r\n"));
        QVERIFY(SettingsFile(folder.dir()).write({-32768, u"Chicago "_s, 32767, QString(), true, false}).ok);
        QCOMPARE(folder.read(FileName), QByteArray("-32768,\"Chicago \",32767,\"\",#TRUE#,#FALSE#\r\n"));
        QCOMPARE(folder.entries(), QStringList{FileName}); // no temporary file beside it
    }

    void readsTheFirstSixFieldsOfTheFirstLine_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
        QTest::addColumn<QString>("found");
        const QByteArray line("-13,\"New York\",2,\"Sydney\",#FALSE#,#TRUE#");
        const QString saved = u"-13|New York|2|Sydney|0|1"_s;
        QTest::newRow("no file") << QByteArray() << "0";
        QTest::newRow("CR LF, extra fields, more lines") << line + ",7,\"x\"\r\nmore\r\n" << saved;
        QTest::newRow("a lone CR, and no line end") << line + "\r7" << saved;
        QTest::newRow("byte-order mark, LF") << "\xEF\xBB\xBF" + line + "\n" << saved;
        QTest::newRow("five fields") << QByteArray("0,\"Tokyo\",1,\"Sydney\",#FALSE#\r\n") << "2";
        QTest::newRow("six fields over two lines") << QByteArray("0,\"Tokyo\",1\r\n\"Sydney\",#FALSE#,#FALSE#") << "2";
        QTest::newRow("only 64 KiB of a line read") << QByteArray(70000, ' ') + line << "2";
        QTest::newRow("binary junk") << QByteArray("\x00\xff\x01,\x02", 5) << "2";
        QTest::newRow("an unclosed quote runs to the end") << QByteArray("1,\"A\",2,\"B,#TRUE#,#TRUE#") << "2";
        QTest::newRow("blanks around unquoted fields, kept inside quotes")
            << QByteArray(" 5 ,\"Chicago \", -15 ,\"a,b\" , #TRUE# ,#TRUE#") << "5|Chicago |-15|a,b|1|1";
        QTest::newRow("summer time only for #TRUE#") << QByteArray("0,\"\",0,\"\",#true#,TRUE") << "0||0||0|0";
        QTest::newRow("offsets rounded half to even") << QByteArray("2.5,\"A\",-3.5,\"B\",0,0") << "2|A|-4|B|0|0";
        QTest::newRow("offsets at and past the limits")
            << QByteArray("-32768,\"A\",32767.5,\"B\",0,0") << "-32768|A|-|B|0|0";
        QTest::newRow("offsets no number, last field empty") << QByteArray("nan,\"A\",Tokyo,\"B\",0,") << "-|A|-|B|0|0";
    }
    void readsTheFirstSixFieldsOfTheFirstLine()
    {
        QFETCH(QByteArray, bytes);
        WorkingFolder folder;
        QVERIFY(bytes.isEmpty() || folder.write(FileName, bytes));
        QTEST(summary(SettingsFile(folder.dir()).read()), "found");
        QCOMPARE(folder.read(FileName), bytes); // reading never writes
    }
};

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"

#include "settings/settingsfile.h"
#include "testsupport.h"

namespace {

const QString FileName = QStringLiteral("setTime.properties");

/** What a reading found: "offsetA|cityA|offsetB|cityB|summerA|summerB", "-" for a missing offset. */
QString summary(const SavedSettings &saved)
{
    if (saved.reading != SavedSettings::Reading::Complete)
        return QString::number(int(saved.reading));
    const auto offset = [](const std::optional<qint16> &o) {
        return o ? QString::number(*o) : QStringLiteral("-");
    };
    return QStringList{offset(saved.offsetA),
                       saved.cityA,
                       offset(saved.offsetB),
                       saved.cityB,
                       QString::number(saved.summerTimeA),
                       QString::number(saved.summerTimeB)}
        .join(u'|');
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writerReplacesTheFileWithOneExactLineOrNothing()
    {
        WorkingFolder folder;
        QVERIFY(folder.write(FileName, QByteArray(4000, 'x') + "\r\nsecond line\r\n"));
        const SettingsFile file(folder.dir());
        QVERIFY(file.write({-13, QStringLiteral("Chicago "), 32767, QString(), true, false}).ok);
        QCOMPARE(folder.read(FileName), QByteArray("-13,\"Chicago \",32767,\"\",#TRUE#,#FALSE#\r\n"));
        QVERIFY(file.write({-32768, QStringLiteral("Tokyo"), 2, QStringLiteral("Sydney"), false, true}).ok);
        const QByteArray saved("-32768,\"Tokyo\",2,\"Sydney\",#FALSE#,#TRUE#\r\n");
        QCOMPARE(folder.read(FileName), saved);
        {
            const FullDisk full;
            if (!full.isActive())
                QSKIP(FullDisk::WhyInactive);
            const auto result = file.write({1, QStringLiteral("Sydney"), 0, {}, false, false});
            QVERIFY(!result.ok && !result.error.isEmpty());
        }
        QCOMPARE(folder.read(FileName), saved); // a failed save keeps the previous file
        QCOMPARE(folder.entries(), QStringList{FileName}); // and no temporary file beside it
    }

    void readsTheFirstSixFieldsOfTheFirstLine_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
        QTest::addColumn<QString>("found"); // or how far reading got: 0 not found, 2 too few fields
        const QByteArray line("-13,\"New York\",2,\"Sydney\",#TRUE#,#FALSE#");
        const QString saved = QStringLiteral("-13|New York|2|Sydney|1|0");
        QTest::newRow("no file") << QByteArray() << "0";
        QTest::newRow("CR LF") << line + "\r\n" << saved;
        QTest::newRow("LF, then more lines") << line + "\nmore\n" << saved;
        QTest::newRow("a lone CR, and no line end") << line + "\r7" << saved;
        QTest::newRow("byte-order mark, extra fields") << "\xEF\xBB\xBF" + line + ",7,\"x\"" << saved;
        QTest::newRow("five fields") << QByteArray("0,\"Tokyo\",1,\"Sydney\",#FALSE#\r\n") << "2";
        QTest::newRow("six fields over two lines") << QByteArray("0,\"Tokyo\",1\r\n\"Sydney\",#FALSE#,#FALSE#") << "2";
        QTest::newRow("an unclosed quote runs to the end") << QByteArray("1,\"A\",2,\"B,#TRUE#,#TRUE#") << "2";
        QTest::newRow("binary junk") << QByteArray("\x00\xff\x01,\x02", 5) << "2";
        QTest::newRow("blanks around unquoted fields, kept inside quotes")
            << QByteArray(" 5 ,\"Chicago \", -15 ,\"a,b\" , #TRUE# ,#TRUE#") << "5|Chicago |-15|a,b|1|1";
        QTest::newRow("summer time only for #TRUE#") << QByteArray("0,\"\",0,\"\",#true#,TRUE") << "0||0||0|0";
        QTest::newRow("offsets rounded half to even")
            << QByteArray("2.5,\"A\",-3.5,\"B\",#FALSE#,#FALSE#") << "2|A|-4|B|0|0";
        QTest::newRow("offsets at and past the limits")
            << QByteArray("-32768,\"A\",32767.5,\"B\",#FALSE#,#FALSE#") << "-32768|A|-|B|0|0";
        QTest::newRow("offsets that are no number")
            << QByteArray("nan,\"A\",Tokyo,\"B\",#FALSE#,#FALSE#") << "-|A|-|B|0|0";
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

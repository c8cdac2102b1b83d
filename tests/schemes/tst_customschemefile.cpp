#include "schemefixture.h"
#include "schemes/customschemefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace rainquill;

using namespace schemefixture;

class TestCustomSchemeFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void repair_data();
    void repair();
    void lineCounts_data();
    void lineCounts();
    void notANumber();
    void readOnlyFileMadeWritable();
    void saveChangesOnlyItsLines();
    void failedWriteKeepsTheOldFile();

private:
    QTemporaryDir *m_dir = nullptr;
};

void TestCustomSchemeFile::init()
{
    m_dir = new QTemporaryDir;
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir::setCurrent(m_dir->path()));
}

void TestCustomSchemeFile::cleanup()
{
    QDir::setCurrent(QDir::tempPath());
    delete m_dir;
}

void TestCustomSchemeFile::repair_data()
{
    QTest::addColumn<QByteArray>("line"); // line 14: scheme 3's StartGreen
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("repaired");
    QTest::newRow("kept") << QByteArray("14") << QByteArray("14") << 14 << false;
    QTest::newRow("zero rewritten as zero") << QByteArray("0") << QByteArray("0") << 0 << true;
    QTest::newRow("300") << QByteArray("300") << QByteArray("0") << 0 << true;
    QTest::newRow("255.5") << QByteArray("255.5") << QByteArray("0") << 0 << true;
    QTest::newRow("empty") << QByteArray("") << QByteArray("0") << 0 << true;
    QTest::newRow("0.4 kept, loads 0") << QByteArray("0.4") << QByteArray("0.4") << 0 << false;
    QTest::newRow("127.5 to even") << QByteArray("127.5") << QByteArray("127.5") << 128 << false;
    QTest::newRow("blanks kept") << QByteArray(" 12 ") << QByteArray(" 12 ") << 12 << false;
    QTest::newRow("hex kept") << QByteArray("&H1F") << QByteArray("&H1F") << 31 << false;
}

void TestCustomSchemeFile::repair()
{
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, stored);
    QFETCH(int, value);
    QFETCH(bool, repaired);
    QList<QByteArray> lines = counting();
    lines[13] = line;
    lines[0] = "01"; // a line only copied back keeps its text
    writeFile(fileWith(lines) + "extra\r\n");

    CustomSchemeFile file;
    QVERIFY(!file.load());
    QCOMPARE(file.repaired(), repaired);
    QCOMPARE(file.schemes()[2].StartGreen, value);
    QCOMPARE(file.schemes()[0].StartRed, 1);
    QCOMPARE(file.schemes()[9].EndBlue, 60);
    lines[13] = stored;
    // A repair writes exactly 60 lines; otherwise the file is left as it was.
    QCOMPARE(readFile(), repaired ? fileWith(lines) : fileWith(lines) + "extra\r\n");
    QCOMPARE(file.lines(), lines);
}

void TestCustomSchemeFile::lineCounts_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("error"); // 0: loads
    const QList<QByteArray> lines = counting();
    QTest::newRow("59 lines") << fileWith(lines.mid(0, 59)) << int(SchemeFileError::TooFewLines);
    QTest::newRow("empty file") << QByteArray() << int(SchemeFileError::TooFewLines);
    QTest::newRow("last line without its end") << fileWith(lines).chopped(2) << 0;
    QTest::newRow("LF line ends") << fileWith(lines, "\n") << 0;
    QTest::newRow("61 lines") << fileWith(lines) + "61\r\n" << 0;
}

void TestCustomSchemeFile::lineCounts()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, error);
    writeFile(bytes);
    CustomSchemeFile file;
    for (int attempt = 0; attempt < 2; ++attempt) { // the same outcome every time
        const auto outcome = file.load();
        QCOMPARE(outcome ? outcome->code : 0, error);
        QCOMPARE(readFile(), bytes);
    }
    if (!error)
        QCOMPARE(file.schemes()[4].EndRed, 28);
}

void TestCustomSchemeFile::notANumber()
{
    QList<QByteArray> lines = counting();
    lines[13] = "12abc"; // passes the repair: it begins with 12
    writeFile(fileWith(lines));
    CustomSchemeFile file;
    const auto error = file.load();
    QVERIFY(error);
    QCOMPARE(error->code, int(SchemeFileError::NotANumber));
    QVERIFY2(error->description.contains(QStringLiteral("第 14 行")), qPrintable(error->description));
    // Schemes before the bad line took their new values, the rest kept the old ones.
    QCOMPARE(file.schemes()[1].EndBlue, 12);
    QCOMPARE(file.schemes()[2], ColorScheme{});
    QCOMPARE(readFile(), fileWith(lines));
}

void TestCustomSchemeFile::readOnlyFileMadeWritable()
{
    writeFile(fileWith(counting()));
    QFile::setPermissions(SchemeFileName, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    CustomSchemeFile file;
    QVERIFY(!file.load());
    QVERIFY(QFile::permissions(SchemeFileName) & QFileDevice::WriteOwner);
    QVERIFY(!file.save(1, {9, 9, 9, 9, 9, 9}));
}

void TestCustomSchemeFile::saveChangesOnlyItsLines()
{
    QList<QByteArray> lines = counting();
    lines[40] = "junk"; // not validated by a save: copied back as it is
    writeFile(fileWith(lines) + "61\r\n62\r\n");
    CustomSchemeFile file;
    QVERIFY(!file.save(3, {10, 20, 30, 40, 50, 60}));
    const QList<QByteArray> values = {"10", "20", "30", "40", "50", "60"};
    for (int k = 0; k < 6; ++k)
        lines[12 + k] = values[k];
    QCOMPARE(readFile(), fileWith(lines));
}

void TestCustomSchemeFile::failedWriteKeepsTheOldFile()
{
    QList<QByteArray> lines = counting();
    lines[0] = "300"; // needs a repair, so loading writes
    const QByteArray before = fileWith(lines);
    writeFile(before);

    // Writing more than a few bytes fails, for root as for anyone.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit tiny = old;
    tiny.rlim_cur = 16;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    CustomSchemeFile file;
    const auto loadError = file.load();
    const auto saveError = file.save(2, {1, 2, 3, 4, 5, 6});
    const auto rebuildError = file.rebuild();
    setrlimit(RLIMIT_FSIZE, &old);

    for (const auto &error : {loadError, saveError, rebuildError}) {
        QVERIFY(error);
        QCOMPARE(error->code, int(SchemeFileError::DiskFull));
        QVERIFY(error->description.startsWith(u"文件太大"));
    }
    QCOMPARE(readFile(), before);
    QCOMPARE(QDir().entryList(QDir::Files), QStringList{SchemeFileName}); // no temporary left behind
}

QTEST_APPLESS_MAIN(TestCustomSchemeFile)
#include "tst_customschemefile.moc"

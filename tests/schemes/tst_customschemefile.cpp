#include "schemefixture.h"
#include "schemes/customschemefile.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace rainquill;
using namespace schemefixture;

// color.dat: reading, repairing, saving, and every state the file and its folder can be in.
class TestCustomSchemeFile : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(m_dir->path()));
    }
    void cleanup()
    {
        QDir::setCurrent(QDir::tempPath());
        m_dir.reset();
    }

    void repair_data()
    {
        QTest::addColumn<QByteArray>("line"); // line 14: scheme 3's StartGreen
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("value");
        QTest::newRow("kept") << QByteArray("14") << QByteArray("14") << 14;
        QTest::newRow("zero rewritten as zero") << QByteArray("0") << QByteArray("0") << 0;
        QTest::newRow("255.5") << QByteArray("255.5") << QByteArray("0") << 0;
        QTest::newRow("empty") << QByteArray("") << QByteArray("0") << 0;
        QTest::newRow("0.4 kept, loads 0") << QByteArray("0.4") << QByteArray("0.4") << 0;
        QTest::newRow("127.5 to even") << QByteArray("127.5") << QByteArray("127.5") << 128;
        QTest::newRow("hex kept") << QByteArray("&H1F") << QByteArray("&H1F") << 31;
    }
    void repair()
    {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, stored);
        QFETCH(int, value);
        QList<QByteArray> lines = counting();
        lines[13] = line;
        lines[0] = "01"; // a line only copied back keeps its text
        writeFile(fileWith(lines) + "extra\r\n");
        CustomSchemeFile file;
        QVERIFY(!file.load());
        const bool repaired = line != stored || line == "0";
        QCOMPARE(file.repaired(), repaired);
        QCOMPARE(file.schemes()[2].StartGreen, value);
        QCOMPARE(file.schemes()[9].EndBlue, 60);
        lines[13] = stored;
        // A repair writes exactly 60 lines; otherwise the file is left as it was.
        QCOMPARE(readFile(), fileWith(lines) + (repaired ? "" : "extra\r\n"));
    }

    void lineCounts_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("error"); // 0: loads
        const QList<QByteArray> lines = counting();
        QTest::newRow("59 lines") << fileWith(lines.mid(0, 59)) << int(SchemeFileError::TooFewLines);
        QTest::newRow("last line without its end") << fileWith(lines).chopped(2) << 0;
        QTest::newRow("LF line ends") << fileWith(lines, "\n") << 0;
        QTest::newRow("12abc: not a number") << fileWith(lines).replace("\r\n14\r\n", "\r\n12abc\r\n")
                                              << int(SchemeFileError::NotANumber);
    }
    void lineCounts()
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
        // Schemes before a bad line take their new values, the rest keep the old ones.
        QCOMPARE(file.schemes()[1].EndBlue, error == SchemeFileError::TooFewLines ? 0 : 12);
        QCOMPARE(file.schemes()[4].EndRed, error ? 0 : 28);
    }

    void saveChangesOnlyItsLines()
    {
        QList<QByteArray> lines = counting();
        lines[40] = "junk"; // not validated by a save: copied back as it is
        writeFile(fileWith(lines) + "61\r\n");
        QFile::setPermissions(SchemeFileName, QFileDevice::ReadOwner); // made writable first
        CustomSchemeFile file;
        QVERIFY(!file.save(3, {10, 20, 30, 40, 50, 60}));
        const QList<QByteArray> values = {"10", "20", "30", "40", "50", "60"};
        for (int k = 0; k < 6; ++k)
            lines[12 + k] = values[k];
        QCOMPARE(readFile(), fileWith(lines));
        QVERIFY(QFile::permissions(SchemeFileName) & QFileDevice::WriteOwner);
    }

    void failedWriteKeepsTheOldFile()
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
        const auto errors = {file.load(), file.save(2, {1, 2, 3, 4, 5, 6}), file.rebuild()};
        setrlimit(RLIMIT_FSIZE, &old);
        for (const auto &error : errors)
            QCOMPARE(error, (SchemeFileError{61, "文件太大，超出了系统允许的大小（写入 color.dat 时）"}));
        QCOMPARE(readFile(), before);
        QCOMPARE(QDir().entryList(QDir::Files | QDir::Hidden), QStringList{SchemeFileName}); // no temporary left
    }

    // The file and its folder in every state, as an ordinary user meets them: what a load,
    // a save or a rebuild reports, and what the file holds afterwards.
    void fileStates_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<int>("code"); // 0: done
        QTest::addColumn<QString>("description");
        QTest::addColumn<QByteArray>("after");
        const QByteArray zeros = fileWith(QList<QByteArray>(60, "0")), numbers = fileWith(counting());
        QTest::newRow("folder takes no new file: repaired in place")
            << "locked folder, zeros" << "load" << 0 << "" << zeros;
        QTest::newRow("folder takes no new file: saved in place")
            << "locked folder, zeros" << "save" << 0 << "" << fileWith(QList<QByteArray>(54, "0") + counting().mid(0, 6));
        QTest::newRow("folder takes no new file, no file: no permission")
            << "locked folder" << "rebuild" << 70 << "没有权限（写入 color.dat 时）" << QByteArray("<missing>");
        QTest::newRow("another user's read-only file") << "foreign file" << "load" << 70
                                                       << "没有权限（修改权限 color.dat 时）" << numbers;
        QTest::newRow("dangling link: missing, then rebuilt") << "dangling link" << "load" << 53
                                                              << "文件未找到：color.dat" << zeros;
        const QByteArray untouched("<untouched>"); // not a plain file, or not read
        QTest::newRow("a folder called color.dat") << "folder" << "save" << 75
                                                   << "路径/文件访问错误，color.dat 不是普通文件（查看 color.dat 时）"
                                                   << untouched;
        QTest::newRow("a named pipe") << "fifo" << "load" << 75
                                      << "路径/文件访问错误，color.dat 不是普通文件（查看 color.dat 时）" << untouched;
        QTest::newRow("a link to a device") << "device" << "load" << 75
                                            << "路径/文件访问错误，color.dat 不是普通文件（查看 color.dat 时）"
                                            << untouched;
        QTest::newRow("far larger than sixty lines") << "huge" << "load" << 75
                                                     << "文件太大，color.dat 不是方案文件（读取 color.dat 时）"
                                                     << untouched;
        QTest::newRow("missing folder") << "missing folder" << "rebuild" << 76 << "路径未找到（写入 color.dat 时）"
                                        << QByteArray("<missing>");
    }
    void fileStates()
    {
        QFETCH(QString, state);
        QFETCH(QString, operation);
        QFETCH(int, code);
        QFETCH(QString, description);
        QFETCH(QByteArray, after);
        QVERIFY(QFile::setPermissions(m_dir->path(), QFileDevice::Permissions(0x7755))); // the user may enter
        QDir().mkdir(QStringLiteral("work"));
        const QString folder = m_dir->filePath(QStringLiteral("work"));
        const QString path = folder + QStringLiteral("/color.dat");
        const QByteArray name = QFile::encodeName(path);
        QStringList given{folder};
        if (state.contains(u"zeros"))
            writeFile(fileWith(QList<QByteArray>(60, "0")), path), given.append(path);
        if (state == u"foreign file") {
            if (geteuid() != 0)
                QSKIP("only root can give the user a file of another");
            writeFile(fileWith(counting()), path);
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadOther);
        }
        if (state == u"dangling link")
            QCOMPARE(symlink("nowhere", name.constData()), 0);
        if (state == u"folder")
            QVERIFY(QDir(folder).mkdir(QStringLiteral("color.dat")));
        if (state == u"fifo")
            QCOMPARE(mkfifo(name.constData(), 0666), 0);
        if (state == u"device")
            QCOMPARE(symlink("/dev/zero", name.constData()), 0);
        if (state == u"huge")
            writeFile(QByteArray(MaxSchemeFileBytes + 1, '\n'), path), given.append(path);
        const bool locked = state.startsWith(u"locked");
        const QString used = state == u"missing folder" ? folder + QStringLiteral("/gone/color.dat") : path;
        const int outcome = asOrdinaryUser(given, [&] {
            if (locked && !QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner))
                return 1;
            CustomSchemeFile file(used);
            const auto error = operation == u"load"   ? file.load()
                               : operation == u"save" ? file.save(10, {1, 2, 3, 4, 5, 6})
                                                      : file.rebuild();
            if (error && error->description != description)
                return 2;
            if (error && error->code == SchemeFileError::FileNotFound && file.rebuild())
                return 3; // a missing file is rebuilt
            return error ? error->code : 0;
        });
        QFile::setPermissions(folder, QFileDevice::Permissions(0x7700));
        QCOMPARE(outcome, code);
        if (after == "<untouched>")
            QCOMPARE(QFileInfo(path).isFile() ? QFileInfo(path).size() : -1, state == u"huge" ? MaxSchemeFileBytes + 1 : -1);
        else
            QCOMPARE(readFile(path), after);
    }

    // One table maps the file errors to the code and the words the user reads.
    void errorTable_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("systemError");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("description");
        const int write = int(FileFailure::Step::Write), read = int(FileFailure::Step::Read);
        QTest::newRow("permission") << write << EACCES << 70 << "没有权限（写入 x 时）";
        QTest::newRow("disk full") << write << ENOSPC << 61 << "磁盘已满（写入 x 时）";
        QTest::newRow("read-only disk") << write << EROFS << 70 << "没有权限，磁盘是只读的（写入 x 时）";
        QTest::newRow("a folder") << read << EISDIR << 75 << "路径/文件访问错误，这是一个文件夹（读取 x 时）";
        QTest::newRow("device error") << read << EIO << 57 << "设备 I/O 错误（读取 x 时）";
        QTest::newRow("anything else") << read << EBUSY << 75
                                       << QStringLiteral("路径/文件访问错误（系统错误 %1）（读取 x 时）").arg(EBUSY);
    }
    void errorTable()
    {
        QFETCH(int, step);
        QFETCH(int, systemError);
        QFETCH(int, code);
        QFETCH(QString, description);
        QCOMPARE(SchemeFileErrorFor({FileFailure::Step(step), systemError}, QStringLiteral("x")),
                 (SchemeFileError{code, description}));
    }
};

QTEST_APPLESS_MAIN(TestCustomSchemeFile)
#include "tst_customschemefile.moc"

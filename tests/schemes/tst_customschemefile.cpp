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

    // Line 14 (scheme 3's StartGreen) in its forms, and files of other shapes: what a load
    // reports, what it leaves in the file, and what scheme 3 then holds.
    void load_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("stored"); // empty: the file is left as it was
        QTest::addColumn<QByteArray>("shape");
        QTest::addColumn<int>("error");
        QTest::addColumn<int>("value");
        QTest::newRow("kept, extra lines left") << QByteArray("14") << QByteArray() << QByteArray() << 0 << 14;
        QTest::newRow("zero rewritten as zero") << QByteArray("0") << QByteArray("0") << QByteArray() << 0 << 0;
        QTest::newRow("255.5 repaired") << QByteArray("255.5") << QByteArray("0") << QByteArray() << 0 << 0;
        QTest::newRow("0.4 kept, loads 0") << QByteArray("0.4") << QByteArray() << QByteArray() << 0 << 0;
        QTest::newRow("127.5 to even") << QByteArray("127.5") << QByteArray() << QByteArray() << 0 << 128;
        QTest::newRow("hex kept") << QByteArray("&H1F") << QByteArray() << QByteArray() << 0 << 31;
        QTest::newRow("12abc: not a number") << QByteArray("12abc") << QByteArray() << QByteArray() << 13 << 0;
        QTest::newRow("59 lines") << QByteArray("14") << QByteArray() << QByteArray("59") << 62 << 0;
        QTest::newRow("LF ends, last one missing") << QByteArray("14") << QByteArray() << QByteArray("LF") << 0 << 14;
    }
    void load()
    {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, stored);
        QFETCH(QByteArray, shape);
        QFETCH(int, error);
        QFETCH(int, value);
        QList<QByteArray> lines = counting();
        lines[13] = line;
        lines[0] = "01"; // a line only copied back keeps its text
        const QByteArray bytes = shape == "59" ? fileWith(lines.mid(0, 59))
                                 : shape == "LF" ? fileWith(lines, "\n").chopped(1)
                                                 : fileWith(lines) + "extra\r\n";
        writeFile(bytes);
        lines[13] = stored;
        CustomSchemeFile file;
        for (int attempt = 0; attempt < 2; ++attempt) { // the same outcome every time
            const auto outcome = file.load();
            QCOMPARE(outcome ? outcome->code : 0, error);
            // A repair writes exactly 60 lines; otherwise the file is left as it was.
            QCOMPARE(readFile(), stored.isEmpty() ? bytes : fileWith(lines));
        }
        QCOMPARE(file.schemes()[2].StartGreen, value);
        // Schemes before a bad line take their new values, the rest keep the old ones.
        QCOMPARE(file.schemes()[1].EndBlue, error == SchemeFileError::TooFewLines ? 0 : 12);
    }

    void saveChangesOnlyItsLines()
    {
        QList<QByteArray> lines = counting();
        lines[40] = "junk"; // not validated by a save: copied back as it is
        writeFile(fileWith(lines) + "61\r\n");
        QFile::setPermissions(SchemeFileName, QFileDevice::ReadOwner); // made writable first
        QVERIFY(!CustomSchemeFile().save(3, {10, 20, 30, 40, 50, 60}));
        const QList<QByteArray> values = {"10", "20", "30", "40", "50", "60"};
        for (int k = 0; k < 6; ++k)
            lines[12 + k] = values[k];
        QCOMPARE(readFile(), fileWith(lines));
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
        QTest::addColumn<QString>("message"); // empty: done
        QTest::addColumn<QByteArray>("after"); // empty: neither read nor made a plain file
        const QByteArray zeros = fileWith(QList<QByteArray>(60, "0")), missing("<missing>");
        const QString notPlain = QStringLiteral("75 路径/文件访问错误，color.dat 不是普通文件（查看 color.dat 时）");
        QTest::newRow("folder takes no new file: repaired in place") << "locked, zeros" << "load" << "" << zeros;
        QTest::newRow("folder takes no new file: saved in place")
            << "locked, zeros" << "save" << "" << fileWith(QList<QByteArray>(54, "0") + counting().mid(0, 6));
        QTest::newRow("folder takes no new file, no file")
            << "locked" << "rebuild" << "70 没有权限（写入 color.dat 时）" << missing;
        QTest::newRow("another user's read-only file")
            << "foreign" << "load" << "70 没有权限（修改权限 color.dat 时）" << fileWith(counting());
        QTest::newRow("dangling link: missing, then rebuilt") << "link nowhere" << "load" << "53 文件未找到：color.dat"
                                                              << zeros;
        QTest::newRow("a folder called color.dat") << "folder" << "save" << notPlain << QByteArray();
        QTest::newRow("a named pipe") << "fifo" << "load" << notPlain << QByteArray();
        QTest::newRow("far larger than sixty lines")
            << "huge" << "load" << "75 文件太大，color.dat 不是方案文件（读取 color.dat 时）" << QByteArray();
        QTest::newRow("missing folder") << "gone" << "rebuild" << "76 路径未找到（写入 color.dat 时）" << missing;
    }
    void fileStates()
    {
        QFETCH(QString, state);
        QFETCH(QString, operation);
        QFETCH(QString, message);
        QFETCH(QByteArray, after);
        QVERIFY(QFile::setPermissions(m_dir->path(), QFileDevice::Permissions(0x7755))); // the user may enter
        const QString folder = m_dir->filePath(QStringLiteral("work"));
        QDir().mkdir(folder);
        const QString path = folder + QStringLiteral("/color.dat");
        const QByteArray name = QFile::encodeName(path);
        QStringList given{folder};
        if (state.endsWith(u"zeros") || state == u"huge") {
            writeFile(state == u"huge" ? QByteArray(MaxSchemeFileBytes + 1, '\n') : fileWith(QList<QByteArray>(60, "0")),
                      path);
            given.append(path);
        } else if (state == u"foreign") {
            if (geteuid() != 0)
                QSKIP("only root can give the user a file of another");
            writeFile(fileWith(counting()), path);
            QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadOther);
        } else if (state == u"link nowhere") {
            QCOMPARE(symlink("nowhere", name.constData()), 0);
        } else if (state == u"folder") {
            QVERIFY(QDir(folder).mkdir(QStringLiteral("color.dat")));
        } else if (state == u"fifo") {
            QCOMPARE(mkfifo(name.constData(), 0666), 0);
        }
        const QString used = state == u"gone" ? folder + QStringLiteral("/gone/color.dat") : path;
        const int outcome = asOrdinaryUser(given, [&] {
            if (state.startsWith(u"locked") && !QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner))
                return 1;
            CustomSchemeFile file(used);
            const auto error = operation == u"load"   ? file.load()
                               : operation == u"save" ? file.save(10, {1, 2, 3, 4, 5, 6})
                                                      : file.rebuild();
            if (error && error->code == SchemeFileError::FileNotFound && file.rebuild())
                return 2; // a missing file is rebuilt
            return (error ? QString::number(error->code) + u' ' + error->description : QString()) == message ? 0 : 3;
        });
        QFile::setPermissions(folder, QFileDevice::Permissions(0x7700));
        QCOMPARE(outcome, 0);
        if (after.isEmpty())
            QCOMPARE(QFileInfo(path).isFile() ? QFileInfo(path).size() : -1, state == u"huge" ? MaxSchemeFileBytes + 1 : -1);
        else
            QCOMPARE(readFile(path), after);
    }

    // The one table that maps the system's errors to a code and the user's words.
    void errorTable()
    {
        const auto text = [](FileFailure::Step step, int systemError) {
            const SchemeFileError error = SchemeFileErrorFor({step, systemError}, QStringLiteral("x"));
            return QString::number(error.code) + u' ' + error.description;
        };
        using Step = FileFailure::Step;
        QCOMPARE(text(Step::Write, EACCES), QStringLiteral("70 没有权限（写入 x 时）"));
        QCOMPARE(text(Step::Write, ENOSPC), QStringLiteral("61 磁盘已满（写入 x 时）"));
        QCOMPARE(text(Step::Write, EROFS), QStringLiteral("70 没有权限，磁盘是只读的（写入 x 时）"));
        QCOMPARE(text(Step::Read, EISDIR), QStringLiteral("75 路径/文件访问错误，这是一个文件夹（读取 x 时）"));
        QCOMPARE(text(Step::Read, EIO), QStringLiteral("57 设备 I/O 错误（读取 x 时）"));
        QCOMPARE(text(Step::Read, EBUSY), QStringLiteral("75 路径/文件访问错误（系统错误 %1）（读取 x 时）").arg(EBUSY));
    }
};

QTEST_APPLESS_MAIN(TestCustomSchemeFile)
#include "tst_customschemefile.moc"

#include "schemefixture.h"
#include "schemes/customschemefile.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <QScopeGuard>

#include <csignal>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace rainquill;
using namespace schemefixture;

// color.dat: reading, repairing, saving, and every state the file and its folder can be in.
class TestCustomSchemeFile : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> m_dir;

private slots:
    void init() { QVERIFY(QDir::setCurrent(m_dir.emplace().path())); }
    void cleanup()
    {
        QDir::setCurrent(QDir::tempPath());
        m_dir.reset();
    }

    // Line 14 (scheme 3's StartGreen) in its forms, and files of other shapes: what a load
    // reports, what it leaves in the file, and what scheme 3 then holds. A line that is not
    // a number is quoted: whole when short, else its first 256 characters and "…".
    void load_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("stored"); // empty: the file is left as it was
        QTest::addColumn<QByteArray>("shape");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("value");
        const auto mismatch = [](const QString &quoted) {
            return QStringLiteral("13 类型不匹配，文件 color.dat 第 14 行“") + quoted + QStringLiteral("”不是 0-255 的数字");
        };
        const QByteArray none;
        QTest::newRow("kept, extra lines left") << QByteArray("14") << none << none << "" << 14;
        QTest::newRow("zero rewritten as zero") << QByteArray("0") << QByteArray("0") << none << "" << 0;
        QTest::newRow("255.5 repaired") << QByteArray("255.5") << QByteArray("0") << none << "" << 0;
        QTest::newRow("255 kept") << QByteArray("255") << none << none << "" << 255;
        QTest::newRow("0.4 kept, loads 0") << QByteArray("0.4") << none << none << "" << 0;
        QTest::newRow("127.5 to even") << QByteArray("127.5") << none << none << "" << 128;
        QTest::newRow("hex kept") << QByteArray("&H1F") << none << none << "" << 31;
        QTest::newRow("12abc: not a number") << QByteArray("12abc") << none << none << mismatch("12abc") << 0;
        QTest::newRow("256 characters, quoted whole")
            << "12" + QByteArray(254, 'x') << none << none << mismatch("12" + QString(254, u'x')) << 0;
        QTest::newRow("a line of 1 MiB, its start quoted")
            << "12" + QByteArray((1 << 20) - 2, 'x') << none << none << mismatch("12" + QString(254, u'x') + u'…') << 0;
        QTest::newRow("59 lines") << QByteArray("14") << none << QByteArray("59")
                                  << "62 输入超出文件尾，文件 color.dat 只有 59 行，应有 60 行" << 0;
        QTest::newRow("LF ends, last one missing") << QByteArray("14") << none << QByteArray("LF") << "" << 14;
    }
    void load()
    {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, stored);
        QFETCH(QByteArray, shape);
        QFETCH(QString, message);
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
            QCOMPARE(told(outcome), message);
            // A repair writes exactly 60 lines; otherwise the file is left as it was.
            QCOMPARE(readFile(), stored.isEmpty() ? bytes : fileWith(lines));
        }
        QCOMPARE(file.schemes()[2].StartGreen, value);
        // Schemes before a bad line take their new values, the rest keep the old ones.
        QCOMPARE(file.schemes()[1].EndBlue, shape == "59" ? 0 : 12);
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

    // A full disk, and a folder that takes no new file: the new text needs a block more than
    // the file has, which is refused before a byte of the old text is overwritten.
    void fullDiskKeepsTheFile()
    {
        if (geteuid() != 0)
            QSKIP("a disk of its own needs root");
        QVERIFY(unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0);
        const QByteArray disk = QFile::encodeName(m_dir->filePath(QStringLiteral("disk")));
        QVERIFY(QDir().mkdir(QStringLiteral("disk")));
        QCOMPARE(mount("tmpfs", disk.constData(), "tmpfs", 0, "size=64k,mode=0755"), 0);
        const auto unmount = qScopeGuard([&] {
            QDir::setCurrent(m_dir->path());
            umount2(disk.constData(), MNT_DETACH);
        });
        QVERIFY(QDir::setCurrent(QStringLiteral("disk")));
        QList<QByteArray> lines = counting();
        lines[0] = QByteArray(4096 - fileWith(counting()).size(), '0') + '1'; // one page, less a byte
        const QByteArray before = fileWith(lines);
        writeFile(before);
        QCOMPARE(std::system("cat /dev/zero > filler 2>/dev/null; test -s filler"), 0);
        const QString folder = QDir::currentPath();
        const int outcome = asOrdinaryUser({folder, folder + "/color.dat", folder + "/filler"}, [] {
            if (!QFile::setPermissions(".", QFileDevice::ReadOwner | QFileDevice::ExeOwner))
                return 1;
            const auto error = CustomSchemeFile().save(10, {255, 255, 255, 255, 255, 255});
            return error == SchemeFileError{61, "磁盘已满（写入 color.dat 时）"} ? 0 : 2;
        });
        QCOMPARE(outcome, 0);
        QCOMPARE(readFile(), before);
    }

    // The file and its folder in every state, as an ordinary user meets them: what a load,
    // a save or a rebuild reports, and what the file holds afterwards.
    void fileStates_data()
    {
        QTest::addColumn<QString>("setup"); // a shell command run in the folder first
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("message"); // empty: done
        QTest::addColumn<QByteArray>("after"); // empty: neither read nor made a plain file
        const QByteArray zeros = fileWith(QList<QByteArray>(60, "0")), missing("<missing>");
        const QByteArray saved = fileWith(QList<QByteArray>(54, "0") + counting().mid(0, 6)); // scheme 10: 1 to 6
        const QString writeZeros = QStringLiteral("for n in $(seq 60); do printf '0\\r\\n'; done > color.dat");
        const QString notPlain = QStringLiteral("75 路径/文件访问错误，color.dat 不是普通文件（查看 color.dat 时）");
        // "locked": the folder takes no new file, as the user finds it.
        QTest::newRow("locked folder: repaired in place") << writeZeros + "; locked" << "load" << "" << zeros;
        QTest::newRow("locked folder: saved in place") << writeZeros + "; locked" << "save" << "" << saved;
        QTest::newRow("locked folder, no file") << "locked" << "rebuild" << "70 没有权限（写入 color.dat 时）" << missing;
        QTest::newRow("dangling link: missing, then rebuilt") << "ln -s nowhere color.dat" << "load"
                                                              << "53 文件未找到：color.dat" << zeros;
        QTest::newRow("a folder called color.dat") << "mkdir color.dat" << "save" << notPlain << QByteArray();
        QTest::newRow("a named pipe") << "mkfifo color.dat" << "load" << notPlain << QByteArray();
        // Only the first 60 lines are read, whatever follows them; a number of 70,000 digits
        // is above 255 and repaired; a line past 1 MiB is refused, the file left as it was.
        QTest::newRow("60 lines and 40,000 more") << writeZeros + "; seq 40000 >> color.dat" << "save" << "" << saved;
        QTest::newRow("a line of 70,000 digits")
            << "{ head -c 70000 /dev/zero | tr '\\0' 7; printf '\\r\\n'; tail -n +2 ../zeros; } > color.dat" << "load"
            << "" << zeros;
        QTest::newRow("a line of 1 MiB: read") << "head -c 1048576 /dev/zero | tr '\\0' 7 > color.dat" << "load"
                                               << "62 输入超出文件尾，文件 color.dat 只有 1 行，应有 60 行" << QByteArray();
        QTest::newRow("a line past 1 MiB") << "head -c 1048577 /dev/zero | tr '\\0' 7 > color.dat" << "load"
                                          << "75 行太长，color.dat 第 1 行超过 1 MiB，不是方案文件（读取 color.dat 时）"
                                          << QByteArray();
        // A link to a file elsewhere is written through, and stays a link.
        QTest::newRow("live link: saved through it")
            << "mkdir sync; cp ../zeros sync/real.dat; ln -s sync/real.dat color.dat" << "save" << "" << saved;
        QTest::newRow("chain of relative links: repaired through them")
            << "mkdir sync; sed 's/^0/300/' ../zeros > sync/real.dat; ln -s real.dat sync/mid.dat; "
               "ln -s sync/mid.dat color.dat" << "load" << "" << zeros;
        QTest::newRow("missing folder") << "mkdir gone; rmdir gone" << "rebuild" << "76 路径未找到（写入 color.dat 时）"
                                        << missing;
        QTest::newRow("a link to itself") << "ln -s color.dat color.dat" << "load"
                                          << "75 路径/文件访问错误，链接层数太多（查看 color.dat 时）" << QByteArray();
        QTest::newRow("a name too long") << "longname" << "load" << "52 文件名太长（查看 color.dat 时）" << QByteArray();
        QTest::newRow("no file can be opened") << writeZeros + "; nofiles" << "load"
                                               << "67 打开的文件太多（读取 color.dat 时）" << zeros;
    }
    void fileStates()
    {
        QFETCH(QString, setup);
        QFETCH(QString, operation);
        QFETCH(QString, message);
        QFETCH(QByteArray, after);
        QVERIFY(QFile::setPermissions(".", QFileDevice::Permissions(0x7755))); // the user may enter
        QVERIFY(QDir().mkdir(QStringLiteral("work")) && QDir::setCurrent(QStringLiteral("work")));
        writeFile(fileWith(QList<QByteArray>(60, "0")), QStringLiteral("../zeros"));
        // The words the shell does not know are done below, as the user.
        static const QRegularExpression ours(QStringLiteral("locked|nofiles|longname"));
        QCOMPARE(std::system(qPrintable(QString(setup).remove(ours) + "\ntrue")), 0);
        const QString path = setup.contains(u"gone")       ? QStringLiteral("gone/color.dat")
                             : setup.contains(u"longname") ? QString(300, u'n')
                                                           : SchemeFileName;
        QStringList given{QDir::currentPath()};
        for (QDirIterator it(QDir::currentPath(), QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot,
                             QDirIterator::Subdirectories);
             it.hasNext();)
            given.append(it.next());
        const int outcome = asOrdinaryUser(given, [&] {
            if (setup.contains(u"locked") && !QFile::setPermissions(".", QFileDevice::ReadOwner | QFileDevice::ExeOwner))
                return 1;
            if (setup.contains(u"nofiles")) { // every descriptor the process may have is taken
                const int next = dup(0);
                close(next);
                const rlimit none{rlim_t(next), rlim_t(next)};
                setrlimit(RLIMIT_NOFILE, &none);
            }
            CustomSchemeFile file(path);
            const auto error = operation == u"load"   ? file.load()
                               : operation == u"save" ? file.save(10, {1, 2, 3, 4, 5, 6})
                                                      : file.rebuild();
            if (error && error->code == SchemeFileError::FileNotFound && file.rebuild())
                return 2; // a missing file is rebuilt
            return told(error) == message ? 0 : 3;
        });
        QFile::setPermissions(".", QFileDevice::Permissions(0x7700));
        QCOMPARE(outcome, 0);
        if (after.isEmpty())
            QVERIFY(!QFileInfo(SchemeFileName).isFile() || QFileInfo(SchemeFileName).size() >= 1048576); // untouched
        else
            QCOMPARE(readFile(), after);
        QCOMPARE(QFileInfo(SchemeFileName).isSymLink(), setup.contains(u"ln -s") && !setup.contains(u"nowhere"));
    }
};

QTEST_APPLESS_MAIN(TestCustomSchemeFile)
#include "tst_customschemefile.moc"

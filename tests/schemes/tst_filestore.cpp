#include "schemefixture.h"
#include "schemes/customschemefile.h"
#include "schemes/filefaults.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

using namespace rainquill;
using namespace schemefixture;

namespace {

// A step of a save that fails `times` times: in place (the folder takes no new file) or
// beside; line 1 of the old file (its length sets the old size); the message, none where
// the call is retried; whether the old file is still whole; and MiB of "0" lines after
// the 60th, never read.
struct Failure
{
    const char *name;
    bool inPlace;
    QByteArray first;
    FileCall call;
    int times;
    QString message;
    bool oldFile;
    int tailMiB = 0;
};

const QString WriteFailed = QStringLiteral("57 设备 I/O 错误（写入 color.dat 时）");
const QString Damaged = WriteFailed + QStringLiteral("，未能恢复原内容，color.dat 可能已损坏");
const QString BestEffort = WriteFailed + QStringLiteral("，已尽力恢复原内容，但未能确认已写入磁盘，color.dat 可能已损坏");
const QString ForeignLink =
    QStringLiteral("75 路径/文件访问错误，color.dat 是其他用户的链接，不经它写入（写入 color.dat 时）");

// Scheme 1 saved as (2, 3, 4, 5, 6, 7) over `lines`.
QByteArray savedOver(QList<QByteArray> lines)
{
    for (int k = 0; k < 6; ++k)
        lines[k] = QByteArray::number(k + 2);
    return fileWith(lines);
}

} // namespace

Q_DECLARE_METATYPE(Failure)

// Writing color.dat when a step of the write fails, and through links: what the user is
// told, and the bytes on disk afterwards.
class TestFileStore : public QObject
{
    Q_OBJECT

    std::optional<QTemporaryDir> m_dir;

private slots:
    void init() { QVERIFY(QDir::setCurrent(m_dir.emplace().path())); }
    void cleanup()
    {
        FileFaults::clear();
        QDir::setCurrent(QDir::tempPath());
        m_dir.reset();
    }

    // Each call of a write failing, alone or again while the old file is put back. In
    // place (the folder takes no new file) the old bytes and length come back before the
    // failure is told, or the message says the file may be damaged; through a new file
    // beside it, the old file is never touched.
    void failingStep_data()
    {
        QTest::addColumn<Failure>("failure");
        // The new text is shorter than a first line "0000000001", a byte longer than an empty one.
        const QByteArray longer("0000000001"), shorter;
        const QString readFailed = QStringLiteral("57 设备 I/O 错误（读取 color.dat 时）");
        // A file too large to keep whole (65 MiB): what the new text covers is kept, and the
        // rest stays on disk until the file is cut to its new length.
        using enum FileCall;
        const Failure failures[] = {
            {"in place: a write stops half way", true, longer, Write, 1, WriteFailed, true},
            {"in place: a longer text stops half way", true, shorter, Write, 1, WriteFailed, true},
            {"in place: the write and its undoing fail", true, shorter, Write, 2, Damaged, false},
            {"in place: reading the old file fails", true, longer, ReadInPlace, 1, WriteFailed, true},
            {"in place: reading the old file is interrupted", true, longer, ReadInPlace, 1, "", false},
            {"in place: the cut to length fails", true, longer, Truncate, 1, WriteFailed, true},
            {"in place: the cut fails, and the undoing's cut", true, shorter, Truncate, 2, Damaged, false},
            {"in place: the sync fails", true, longer, Sync, 1, BestEffort, true},
            {"in place: the sync fails, and the undoing's sync", true, longer, Sync, 2, Damaged, true},
            {"in place: the close fails", true, longer, Close, 1, WriteFailed, true},
            {"in place: the close fails, and the undoing's close", true, longer, Close, 2, Damaged, true},
            {"in place, 65 MiB: a write stops half way", true, longer, Write, 1, WriteFailed, true, 65},
            {"in place, 65 MiB: the sync fails after the cut", true, longer, Sync, 1, Damaged, false, 65},
            {"reading the old file fails", false, longer, Read, 1, readFailed, true},
            {"a read is interrupted, and read again", false, longer, Read, 1, "", false},
            {"beside: a write fails", false, longer, Write, 1, WriteFailed, true},
            {"beside: the sync fails", false, longer, Sync, 1, WriteFailed, true},
            {"beside: the close fails", false, longer, Close, 1, WriteFailed, true},
            {"beside: the rename fails", false, longer, Rename, 1, WriteFailed, true},
        };
        for (const Failure &f : failures)
            QTest::newRow(f.name) << f;
    }
    void failingStep()
    {
        QFETCH(Failure, failure);
        QList<QByteArray> lines = counting();
        lines[0] = failure.first;
        const QByteArray before = fileWith(lines) + QByteArray("0\r\n").repeated(failure.tailMiB * 349526);
        writeFile(before);
        if (failure.inPlace)
            FileFaults::failNext(FileCall::NewFile, EACCES);
        FileFaults::failNext(failure.call, failure.message.isEmpty() ? EINTR : EIO, failure.times);
        QCOMPARE(told(CustomSchemeFile().save(1, {2, 3, 4, 5, 6, 7})), failure.message);
        QCOMPARE(readFile() == before, failure.oldFile);
        QCOMPARE(QDir().entryList(QDir::Files | QDir::Hidden), QStringList{SchemeFileName}); // nothing left beside it
        // With nothing failing, the same save goes through.
        FileFaults::clear();
        writeFile(before);
        if (failure.inPlace)
            FileFaults::failNext(FileCall::NewFile, EACCES);
        QCOMPARE(told(CustomSchemeFile().save(1, {2, 3, 4, 5, 6, 7})), QString());
        QCOMPARE(readFile(), savedOver(counting()));
    }

    // A new color.dat takes the old one's permissions, or else what the umask allows.
    void permissions_data()
    {
        QTest::addColumn<int>("old"); // -1: no file
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("mode");
        QTest::newRow("the old file's") << 0600 << 022 << 0600;
        QTest::newRow("no old file") << -1 << 027 << 0640;
    }
    void permissions()
    {
        QFETCH(int, old);
        QFETCH(int, mask);
        QFETCH(int, mode);
        if (old >= 0) {
            writeFile(fileWith(counting()));
            QCOMPARE(chmod("color.dat", mode_t(old)), 0);
        }
        const mode_t before = umask(mode_t(mask));
        const auto error = old >= 0 ? CustomSchemeFile().save(1, {2, 3, 4, 5, 6, 7}) : CustomSchemeFile().rebuild();
        umask(before);
        QCOMPARE(told(error), QString());
        struct stat info{};
        QCOMPARE(stat("color.dat", &info), 0);
        QCOMPARE(int(info.st_mode & 07777), mode);
    }

    // A link to itself leads to no file: a write replaces it by a plain file. A dangling
    // link where the folder takes no new file cannot be replaced, and nothing is created
    // where it points.
    void linksToNoFile()
    {
        QCOMPARE(symlink("color.dat", "color.dat"), 0);
        QCOMPARE(told(CustomSchemeFile().rebuild()), QString());
        QVERIFY(!QFileInfo(SchemeFileName).isSymLink());
        QCOMPARE(readFile(), fileWith(QList<QByteArray>(60, "0")));
        QVERIFY(QFile::remove(SchemeFileName) && symlink("nowhere.dat", "color.dat") == 0);
        FileFaults::failNext(FileCall::NewFile, EACCES);
        QCOMPARE(told(CustomSchemeFile().rebuild()), QStringLiteral("70 没有权限（写入 color.dat 时）"));
        QVERIFY(QFileInfo(SchemeFileName).isSymLink() && !QFileInfo::exists(QStringLiteral("nowhere.dat")));
    }

    // A link to a file elsewhere, in a folder that anyone may write to and that is not
    // sticky: written through only when it is the user's own link or the folder owner's.
    // Another user's link that leads nowhere is replaced by a plain file.
    void links_data()
    {
        QTest::addColumn<QString>("setup"); // run in the shared folder; "X" stands for another user
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("through"); // the file the link names holds the saved scheme
        QTest::newRow("another user's link") << "link color.dat X" << "save" << ForeignLink << false;
        QTest::newRow("our own link, another user's folder") << "link color.dat me; folder X" << "save" << "" << true;
        QTest::newRow("the folder owner's link") << "link color.dat X; folder X" << "save" << "" << true;
        QTest::newRow("our link to another user's link")
            << "link color.dat me mid.dat; link mid.dat X" << "save" << ForeignLink << false;
        QTest::newRow("another user's link, repaired on load")
            << "link color.dat X; repair" << "load" << ForeignLink << false;
        QTest::newRow("another user's link to a read-only file")
            << "link color.dat X; readonly" << "load"
            << "75 路径/文件访问错误，color.dat 是其他用户的链接，不经它写入（修改权限 color.dat 时）" << false;
        QTest::newRow("another user's link to nowhere") << "dangling color.dat X" << "save" << "" << false;
    }
    void links()
    {
        QFETCH(QString, setup);
        QFETCH(QString, operation);
        QFETCH(QString, message);
        QFETCH(bool, through);
        if (geteuid() != 0)
            QSKIP("links of another user need root");
        constexpr uid_t other = 65534;
        QVERIFY(QDir().mkdir(QStringLiteral("home")) && QDir().mkdir(QStringLiteral("shared")));
        QList<QByteArray> lines = counting();
        if (setup.contains(u"repair"))
            lines[59] = "300";
        const QByteArray notes = fileWith(lines);
        writeFile(notes, QStringLiteral("home/notes.txt"));
        if (setup.contains(u"readonly"))
            QVERIFY(QFile::setPermissions(QStringLiteral("home/notes.txt"), QFileDevice::ReadOwner));
        QVERIFY(QFile::setPermissions(QStringLiteral("shared"), QFileDevice::Permissions(0x7777)));
        QVERIFY(QDir::setCurrent(QStringLiteral("shared")));
        for (const QString &step : setup.split(QStringLiteral("; "))) {
            const QStringList words = step.split(u' ');
            const uid_t owner = words.contains(QStringLiteral("X")) ? other : 0;
            if (words[0] == u"folder") {
                QCOMPARE(lchown(".", owner, owner), 0);
            } else if (words[0] == u"link" || words[0] == u"dangling") {
                // A second link in the chain stands in a folder of its own, owned by us.
                const QByteArray target = words[0] == u"dangling" ? "../home/nowhere"
                                          : words.size() > 3      ? "../chain/" + words[3].toUtf8()
                                                                  : "../home/notes.txt";
                const QByteArray at = words[1] == u"mid.dat" ? "../chain/mid.dat" : words[1].toUtf8();
                QDir().mkpath(QStringLiteral("../chain"));
                QCOMPARE(symlink(target.constData(), at.constData()), 0);
                QCOMPARE(lchown(at.constData(), owner, owner), 0);
            }
        }
        CustomSchemeFile file;
        const auto error = operation == u"load" ? file.load() : file.save(1, {2, 3, 4, 5, 6, 7});
        if (setup.startsWith(u"dangling")) {
            QCOMPARE(told(error), QStringLiteral("53 文件未找到：color.dat"));
            QCOMPARE(told(file.rebuild()), QString());
            QCOMPARE(told(file.save(1, {2, 3, 4, 5, 6, 7})), QString());
            QVERIFY(!QFileInfo(SchemeFileName).isSymLink());
            QCOMPARE(readFile(), savedOver(QList<QByteArray>(60, "0")));
            QVERIFY(!QFileInfo::exists(QStringLiteral("../home/nowhere")));
            return;
        }
        QCOMPARE(told(error), message);
        QVERIFY(QFileInfo(SchemeFileName).isSymLink());
        QCOMPARE(readFile(QStringLiteral("../home/notes.txt")), through ? savedOver(lines) : notes);
        QCOMPARE(bool(QFileInfo(QStringLiteral("../home/notes.txt")).permissions() & QFileDevice::WriteOwner),
                 !setup.contains(u"readonly"));
        QCOMPARE(QDir().entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{SchemeFileName});
        QCOMPARE(QDir(QStringLiteral("../home")).entryList(QDir::Files | QDir::Hidden), QStringList{"notes.txt"});
    }
};

QTEST_APPLESS_MAIN(TestFileStore)
#include "tst_filestore.moc"

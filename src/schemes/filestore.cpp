#include "schemes/filestore.h"

#include "schemes/filefaults.h"

#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rainquill {

namespace {

using Step = FileFailure::Step;

FileFailure systemFailure(Step step)
{
    return {step, errno};
}

// The calls that read or change a file, each one a place where a test can make it fail.
ssize_t readSome(int fd, char *data, size_t size)
{
    return FileFaults::fails(FileCall::Read) ? -1 : ::read(fd, data, size);
}

ssize_t readAt(int fd, char *data, size_t size, qint64 offset)
{
    return FileFaults::fails(FileCall::ReadInPlace) ? -1 : ::pread(fd, data, size, off_t(offset));
}

ssize_t writeSome(int fd, const char *data, size_t size)
{
    if (FileFaults::fails(FileCall::Write)) {
        const int error = errno;
        if (size > 1 && ::write(fd, data, size / 2) < 0)
            return -1;
        errno = error;
        return -1;
    }
    return ::write(fd, data, size);
}

int truncateTo(int fd, qint64 size)
{
    return FileFaults::fails(FileCall::Truncate) ? -1 : ::ftruncate(fd, off_t(size));
}

int syncFile(int fd)
{
    return FileFaults::fails(FileCall::Sync) ? -1 : ::fsync(fd);
}

int closeFile(int fd)
{
    if (FileFaults::fails(FileCall::Close)) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return ::close(fd);
}

// Closes the descriptor when it goes out of scope, unless it was closed and checked.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(Descriptor &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Closes now; false when the system reports a failure (a delayed write error).
    bool close() { return closeFile(std::exchange(m_fd, -1)) == 0; }

private:
    int m_fd;
};

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = writeSome(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = EIO;
            return false;
        }
        data += written;
        left -= written;
    }
    return true;
}

// The mode a new file gets: the old file's, else what the user's umask allows.
mode_t modeFor(const QByteArray &path)
{
    struct stat info{};
    if (::stat(path.constData(), &info) == 0)
        return info.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Opens the path without waiting, so that a named pipe cannot hold the program, and
// checks that it names a plain file; `size` gets the file's size.
std::variant<Descriptor, FileFailure> openPlain(const QByteArray &path, int flags, Step step, qint64 *size = nullptr)
{
    Descriptor file(::open(path.constData(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666));
    struct stat info{};
    if (!file.valid() || ::fstat(file.get(), &info) != 0)
        return systemFailure(step);
    if (!S_ISREG(info.st_mode))
        return FileFailure{step, 0, FileFailure::Refusal::NotAPlainFile};
    if (size)
        *size = info.st_size;
    return file;
}

bool writeAllAt(int fd, const QByteArray &bytes)
{
    return ::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, bytes);
}

// Reads up to `size` bytes from the start of the file.
bool readStart(int fd, qint64 size, QByteArray &bytes)
{
    bytes.resize(qsizetype(size));
    qint64 have = 0;
    while (have < size) {
        const ssize_t got = readAt(fd, bytes.data() + have, size_t(size - have), have);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            break;
        have += got;
    }
    bytes.truncate(qsizetype(have));
    return true;
}

// The old file kept through an in-place write, to put back if a step fails: all of it, or
// for a file too large to hold, the start that the new text covers (the rest stays on
// disk until the file is cut to its new length).
struct OldFile
{
    QByteArray bytes;
    qint64 size = 0;
    dev_t device = 0;
    ino_t inode = 0;

    bool whole() const { return bytes.size() == size; }
};

constexpr qint64 MaxKeptBytes = 64 << 20;

// Puts the old bytes and length back and checks them; true when the file is the old one
// again as far as the system shows it.
bool putBack(int fd, const OldFile &old, bool cut)
{
    if (cut && !old.whole())
        return false; // the end of the file is gone, and was not kept
    if (!writeAllAt(fd, old.bytes) || truncateTo(fd, old.size) != 0 || syncFile(fd) != 0)
        return false;
    struct stat info{};
    QByteArray back;
    return ::fstat(fd, &info) == 0 && info.st_size == old.size && readStart(fd, old.bytes.size(), back)
           && back == old.bytes;
}

// A write that failed after the file was changed: the old file is put back before the
// failure is told, and the failure says how that went.
FileFailure undone(int error, int fd, const OldFile &old, bool cut, bool synced)
{
    FileFailure failure{Step::Write, error};
    if (!putBack(fd, old, cut))
        failure.left = FileFailure::Left::MayBeDamaged;
    else if (synced)
        failure.left = FileFailure::Left::PutBackBestEffort;
    return failure;
}

// A close that failed has let the descriptor go: the file is opened again, if it is still
// the one written, to put it back.
FileFailure undoneAfterClose(int error, const QByteArray &path, const OldFile &old, bool cut)
{
    Descriptor again(::open(path.constData(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW));
    struct stat info{};
    if (!again.valid() || ::fstat(again.get(), &info) != 0 || info.st_dev != old.device
        || info.st_ino != old.inode)
        return {Step::Write, error, FileFailure::Refusal::None, 0, FileFailure::Left::MayBeDamaged};
    FileFailure failure = undone(error, again.get(), old, cut, false);
    if (!again.close())
        failure.left = FileFailure::Left::MayBeDamaged;
    return failure;
}

std::variant<std::monostate, FileFailure> writeInPlace(const QByteArray &path, const QByteArray &bytes)
{
    OldFile old;
    // Never through a link: a live one was followed before, and a dangling one is not
    // created through.
    auto opened = openPlain(path, O_RDWR | O_CREAT | O_NOFOLLOW, Step::Write, &old.size);
    if (auto *failure = std::get_if<FileFailure>(&opened))
        return *failure;
    Descriptor &file = std::get<Descriptor>(opened);
    const qint64 kept = old.size <= MaxKeptBytes ? old.size : qMin<qint64>(old.size, bytes.size());
    struct stat info{};
    if (::fstat(file.get(), &info) != 0 || !readStart(file.get(), kept, old.bytes))
        return systemFailure(Step::Write);
    old.device = info.st_dev;
    old.inode = info.st_ino;
    // The space is taken before the first byte is overwritten, so that a full disk
    // refuses the write while the file is still whole.
    if (const int reserved = bytes.isEmpty() ? 0 : ::posix_fallocate(file.get(), 0, off_t(bytes.size()));
        reserved != 0) {
        // A reservation that failed may still have lengthened the file.
        if (truncateTo(file.get(), old.size) != 0)
            return FileFailure{Step::Write, errno, FileFailure::Refusal::None, 0,
                               FileFailure::Left::MayBeDamaged};
        return FileFailure{Step::Write, reserved};
    }
    if (!writeAllAt(file.get(), bytes))
        return undone(errno, file.get(), old, false, false);
    // Cut to length last, so the old text is never thrown away before the new text is in.
    if (truncateTo(file.get(), bytes.size()) != 0)
        return undone(errno, file.get(), old, false, false);
    const bool cut = bytes.size() < old.size;
    // After a failed sync the system may have dropped what it could not write: what is
    // put back may not reach the disk either.
    if (syncFile(file.get()) != 0)
        return undone(errno, file.get(), old, cut, true);
    if (!file.close())
        return undoneAfterClose(errno, path, old, cut);
    return std::monostate{};
}

// The file a path finally names, for writing. A live link, or a chain of them, is followed
// only where each link belongs to the user or to the owner of the folder it stands in,
// the rule the system keeps in sticky folders, kept everywhere: in a folder that others
// may write to, a link of theirs would send our write to any file of ours. Any other path
// (a dangling link of anyone's, a loop, a missing file) stands for itself: it is replaced,
// never written through.
std::variant<QByteArray, FileFailure> writableTarget(const QByteArray &path, Step step)
{
    QByteArray at = path;
    bool foreign = false;
    for (int hop = 0; hop <= 40; ++hop) {
        struct stat link{};
        if (::lstat(at.constData(), &link) != 0)
            return path;
        if (!S_ISLNK(link.st_mode)) {
            if (foreign)
                return FileFailure{step, 0, FileFailure::Refusal::ForeignLink};
            char *resolved = ::realpath(at.constData(), nullptr);
            if (!resolved)
                return path;
            const QByteArray target(resolved);
            std::free(resolved);
            return target;
        }
        const qsizetype slash = at.lastIndexOf('/');
        const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : at.left(slash);
        struct stat owner{};
        foreign = foreign
                  || (link.st_uid != ::geteuid()
                      && (::stat(folder.constData(), &owner) != 0 || owner.st_uid != link.st_uid));
        QByteArray target(qsizetype(link.st_size) + 1, Qt::Uninitialized);
        const ssize_t length = ::readlink(at.constData(), target.data(), size_t(target.size()));
        if (length <= 0 || length >= target.size())
            return path; // changed while read: as the system finds it when opened
        target.truncate(length);
        at = target.startsWith('/') ? target : folder + '/' + target;
    }
    return path;
}

// Cuts what is read into lines, CR LF, CR or LF ending each, until it has enough.
struct LineSplitter
{
    int maxLines;
    qsizetype maxLineBytes;
    QList<QByteArray> lines;
    QByteArray line;
    bool afterCr = false; // a LF right after a CR ends no line of its own

    bool full() const { return lines.size() >= maxLines; }

    // False when a line is longer than the most taken.
    bool feed(const char *at, const char *end)
    {
        while (at < end && !full()) {
            if (std::exchange(afterCr, false) && *at == '\n') {
                ++at;
                continue;
            }
            const char *lineEnd = at;
            while (lineEnd < end && *lineEnd != '\r' && *lineEnd != '\n')
                ++lineEnd;
            if (line.size() + (lineEnd - at) > maxLineBytes)
                return false;
            line.append(at, lineEnd - at);
            at = lineEnd;
            if (at < end) {
                afterCr = *at == '\r';
                lines.append(std::exchange(line, {}));
                ++at;
            }
        }
        return true;
    }
};

} // namespace

std::variant<QList<QByteArray>, FileFailure> ReadPlainFileLines(const QString &path, int maxLines,
                                                                qsizetype maxLineBytes)
{
    auto opened = openPlain(QFile::encodeName(path), O_RDONLY, Step::Read);
    if (auto *failure = std::get_if<FileFailure>(&opened))
        return *failure;
    const Descriptor &file = std::get<Descriptor>(opened);

    LineSplitter split{maxLines, maxLineBytes, {}, {}};
    char buffer[64 * 1024];
    while (!split.full()) {
        const ssize_t got = readSome(file.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return systemFailure(Step::Read);
        if (got == 0)
            break;
        if (!split.feed(buffer, buffer + got))
            return FileFailure{Step::Read, 0, FileFailure::Refusal::LineTooLong, int(split.lines.size()) + 1};
    }
    if (!split.full() && !split.line.isEmpty())
        split.lines.append(split.line); // the last line may lack its end
    return split.lines;
}

std::variant<std::monostate, FileFailure> MakeOwnerWritable(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info{};
    if (::stat(name.constData(), &info) != 0)
        return systemFailure(Step::Inspect);
    if (!S_ISREG(info.st_mode))
        return FileFailure{Step::Inspect, 0, FileFailure::Refusal::NotAPlainFile};
    if ((info.st_mode & (S_IRUSR | S_IWUSR)) == (S_IRUSR | S_IWUSR))
        return std::monostate{};
    const auto target = writableTarget(name, Step::Permissions);
    if (const auto *refused = std::get_if<FileFailure>(&target))
        return *refused;
    if (::chmod(std::get<QByteArray>(target).constData(), (info.st_mode & 07777) | S_IRUSR | S_IWUSR) != 0)
        return systemFailure(Step::Permissions);
    return std::monostate{};
}

std::variant<std::monostate, FileFailure> ReplaceFile(const QString &path, const QByteArray &bytes)
{
    const auto target = writableTarget(QFile::encodeName(path), Step::Write);
    if (const auto *refused = std::get_if<FileFailure>(&target))
        return *refused;
    const QByteArray &name = std::get<QByteArray>(target);
    const QFileInfo info(QFile::decodeName(name));
    QByteArray temporary = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName())
                           + ".XXXXXX";
    Descriptor file(FileFaults::fails(FileCall::NewFile) ? -1 : ::mkostemp(temporary.data(), O_CLOEXEC));
    if (!file.valid()) {
        // A dangling link is replaced, never written through: where the folder takes no
        // new file, it cannot be.
        const int error = errno;
        struct stat link{};
        if (::lstat(name.constData(), &link) == 0 && S_ISLNK(link.st_mode))
            return FileFailure{Step::Write, error};
        return writeInPlace(name, bytes);
    }

    const bool complete = writeAll(file.get(), bytes) && ::fchmod(file.get(), modeFor(name)) == 0
                          && syncFile(file.get()) == 0 && file.close()
                          && !FileFaults::fails(FileCall::Rename)
                          && ::rename(temporary.constData(), name.constData()) == 0;
    if (!complete) {
        const FileFailure failure = systemFailure(Step::Write);
        ::unlink(temporary.constData());
        return failure;
    }
    return std::monostate{};
}

} // namespace rainquill

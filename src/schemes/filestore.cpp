#include "schemes/filestore.h"

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
    bool close() { return ::close(std::exchange(m_fd, -1)) == 0; }

private:
    int m_fd;
};

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
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
        const ssize_t got = ::pread(fd, bytes.data() + have, size_t(size - have), have);
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

std::variant<std::monostate, FileFailure> writeInPlace(const QByteArray &path, const QByteArray &bytes)
{
    qint64 oldSize = 0;
    auto opened = openPlain(path, O_RDWR | O_CREAT, Step::Write, &oldSize);
    if (auto *failure = std::get_if<FileFailure>(&opened))
        return *failure;
    Descriptor &file = std::get<Descriptor>(opened);
    // What the new text will cover of the old, to put back if a write fails.
    QByteArray old;
    if (!readStart(file.get(), qMin<qint64>(oldSize, bytes.size()), old))
        return systemFailure(Step::Write);
    // The space is taken before the first byte is overwritten, so that a full disk
    // refuses the write while the file is still whole.
    if (const int reserved = bytes.isEmpty() ? 0 : ::posix_fallocate(file.get(), 0, off_t(bytes.size()));
        reserved != 0) {
        // A reservation that failed may still have lengthened the file.
        const bool kept = ::ftruncate(file.get(), oldSize) == 0;
        return FileFailure{Step::Write, kept ? reserved : errno};
    }
    if (!writeAllAt(file.get(), bytes)) {
        const FileFailure failure = systemFailure(Step::Write);
        if (writeAllAt(file.get(), old) && ::ftruncate(file.get(), oldSize) == 0)
            ::fsync(file.get());
        return failure;
    }
    // Cut to length last, so the old text is never thrown away before the new text is in.
    if (::ftruncate(file.get(), bytes.size()) != 0 || ::fsync(file.get()) != 0 || !file.close())
        return systemFailure(Step::Write);
    return std::monostate{};
}

// The file a path finally names: a live link, or a chain of them, is followed to its
// end; any other path (a dangling link, a missing file) stands for itself.
QByteArray finalTarget(const QByteArray &path)
{
    char *resolved = ::realpath(path.constData(), nullptr);
    if (!resolved)
        return path;
    const QByteArray target(resolved);
    std::free(resolved);
    return target;
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
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
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
    if ((info.st_mode & (S_IRUSR | S_IWUSR)) != (S_IRUSR | S_IWUSR)
        && ::chmod(name.constData(), (info.st_mode & 07777) | S_IRUSR | S_IWUSR) != 0)
        return systemFailure(Step::Permissions);
    return std::monostate{};
}

std::variant<std::monostate, FileFailure> ReplaceFile(const QString &path, const QByteArray &bytes)
{
    const QByteArray name = finalTarget(QFile::encodeName(path));
    const QFileInfo info(QFile::decodeName(name));
    QByteArray temporary = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName())
                           + ".XXXXXX";
    Descriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!file.valid())
        return writeInPlace(name, bytes);

    const bool complete = writeAll(file.get(), bytes) && ::fchmod(file.get(), modeFor(name)) == 0
                          && ::fsync(file.get()) == 0 && file.close()
                          && ::rename(temporary.constData(), name.constData()) == 0;
    if (!complete) {
        const FileFailure failure = systemFailure(Step::Write);
        ::unlink(temporary.constData());
        return failure;
    }
    return std::monostate{};
}

} // namespace rainquill

#include "schemes/filestore.h"

#include <QFileInfo>

#include <cerrno>
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

std::variant<std::monostate, FileFailure> writeInPlace(const QByteArray &path, const QByteArray &bytes)
{
    auto opened = openPlain(path, O_WRONLY | O_CREAT, Step::Write);
    if (auto *failure = std::get_if<FileFailure>(&opened))
        return *failure;
    Descriptor &file = std::get<Descriptor>(opened);
    // Written over from the start and then cut to length, so the old text is never
    // thrown away before the new text is in.
    if (!writeAll(file.get(), bytes) || ::ftruncate(file.get(), bytes.size()) != 0 || ::fsync(file.get()) != 0
        || !file.close())
        return systemFailure(Step::Write);
    return std::monostate{};
}

} // namespace

std::variant<QByteArray, FileFailure> ReadPlainFile(const QString &path, qint64 maxBytes)
{
    qint64 size = 0;
    auto opened = openPlain(QFile::encodeName(path), O_RDONLY, Step::Read, &size);
    if (auto *failure = std::get_if<FileFailure>(&opened))
        return *failure;
    const Descriptor &file = std::get<Descriptor>(opened);
    const FileFailure tooLarge{Step::Read, 0, FileFailure::Refusal::TooLarge};
    if (size > maxBytes)
        return tooLarge;

    // Read to the end, never past one byte over the limit: the file may have grown since
    // it was looked at.
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    qint64 have = 0;
    while (have <= maxBytes) {
        if (have == bytes.size())
            bytes.resize(qMin<qint64>(maxBytes + 1, bytes.size() + 4096));
        const ssize_t got = ::read(file.get(), bytes.data() + have, size_t(bytes.size() - have));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return systemFailure(Step::Read);
        if (got == 0)
            break;
        have += got;
    }
    if (have > maxBytes)
        return tooLarge;
    bytes.truncate(qsizetype(have));
    return bytes;
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
    const QByteArray name = QFile::encodeName(path);
    const QFileInfo info(path);
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

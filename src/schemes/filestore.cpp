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

std::variant<std::monostate, FileFailure> writeInPlace(const QByteArray &path, const QByteArray &bytes)
{
    Descriptor file(::open(path.constData(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0666));
    if (!file.valid())
        return systemFailure(Step::Write);
    struct stat info{};
    if (::fstat(file.get(), &info) != 0)
        return systemFailure(Step::Write);
    if (!S_ISREG(info.st_mode))
        return FileFailure{Step::Write, 0, FileFailure::Refusal::NotAPlainFile};
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
    // Opened without waiting, so that a named pipe cannot hold the program; only a plain
    // file is read.
    Descriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!file.valid())
        return systemFailure(Step::Read);
    struct stat info{};
    if (::fstat(file.get(), &info) != 0)
        return systemFailure(Step::Read);
    if (!S_ISREG(info.st_mode))
        return FileFailure{Step::Read, 0, FileFailure::Refusal::NotAPlainFile};
    if (info.st_size > maxBytes)
        return FileFailure{Step::Read, 0, FileFailure::Refusal::TooLarge};

    QByteArray bytes;
    bytes.resize(qsizetype(info.st_size));
    qint64 have = 0;
    for (;;) {
        if (have == bytes.size()) {
            // The file may have grown since it was looked at: read on, up to the limit.
            if (bytes.size() > maxBytes)
                return FileFailure{Step::Read, 0, FileFailure::Refusal::TooLarge};
            bytes.resize(qMin<qint64>(maxBytes + 1, bytes.size() + 4096));
        }
        const ssize_t got = ::read(file.get(), bytes.data() + have, size_t(bytes.size() - have));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return systemFailure(Step::Read);
        if (got == 0)
            break;
        have += got;
    }
    bytes.truncate(qsizetype(have));
    if (bytes.size() > maxBytes)
        return FileFailure{Step::Read, 0, FileFailure::Refusal::TooLarge};
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

#pragma once

// color.dat contents, and a way to run a check as an ordinary user, for the tests that
// read and write the file.

#include "schemes/customschemefile.h"

#include <QFile>
#include <QTest>

#include <functional>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace schemefixture {

inline QByteArray fileWith(const QList<QByteArray> &lines, const QByteArray &end = "\r\n")
{
    QByteArray bytes;
    for (const QByteArray &line : lines)
        bytes += line + end;
    return bytes;
}

// Lines "1" to "60": scheme n holds 6n - 5 ... 6n.
inline QList<QByteArray> counting()
{
    QList<QByteArray> lines;
    for (int n = 1; n <= 60; ++n)
        lines.append(QByteArray::number(n));
    return lines;
}

inline void writeFile(const QByteArray &bytes, const QString &path = rainquill::SchemeFileName)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

inline QByteArray readFile(const QString &path = rainquill::SchemeFileName)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// What the user is told: the error's code and description, or nothing.
inline QString told(const std::optional<rainquill::SchemeFileError> &error)
{
    return error ? QString::number(error->code) + u' ' + error->description : QString();
}

// Runs `check` as an ordinary user, for whom permissions count: as it is when the tests
// do not run as root, else in a child process that has become the user "nobody", to whom
// the `given` paths are handed first. Returns what `check` returns.
inline int asOrdinaryUser(const QStringList &given, const std::function<int()> &check)
{
    if (geteuid() != 0)
        return check();
    constexpr uid_t nobody = 65534;
    for (const QString &path : given) {
        if (lchown(QFile::encodeName(path).constData(), nobody, nobody) != 0)
            return -1;
    }
    const pid_t child = fork();
    if (child == 0) {
        const bool dropped = setgroups(0, nullptr) == 0 && setgid(nobody) == 0 && setuid(nobody) == 0;
        _exit(dropped ? check() : 99);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

} // namespace schemefixture

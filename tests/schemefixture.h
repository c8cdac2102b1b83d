#pragma once

// color.dat contents for the tests that read and write the file in the working directory.

#include "schemes/customschemefile.h"

#include <QFile>
#include <QTest>

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

inline void writeFile(const QByteArray &bytes)
{
    QFile file(rainquill::SchemeFileName);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

inline QByteArray readFile()
{
    QFile file(rainquill::SchemeFileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace schemefixture

#pragma once

#include <QByteArray>
#include <QString>
#include <variant>

namespace rainquill {

// What went wrong with a file: the system's error number and the step that failed.
// Two refusals of our own come without a system error: a file that is not a plain file,
// and one larger than the reader takes.
struct FileFailure
{
    enum class Step { Inspect, Read, Write, Permissions };
    enum class Refusal { None, NotAPlainFile, TooLarge };

    Step step;
    int systemError = 0;
    Refusal refusal = Refusal::None;
};

// Reads a plain file, never more than maxBytes of it. A path that is not a plain file
// (a folder, a device, a named pipe) is refused before anything is read from it, and a
// file with more than maxBytes is refused unread.
std::variant<QByteArray, FileFailure> ReadPlainFile(const QString &path, qint64 maxBytes);

// Gives the owner of an existing plain file the right to read and write it.
std::variant<std::monostate, FileFailure> MakeOwnerWritable(const QString &path);

// Replaces the file's contents by `bytes`: through a new file beside it that takes the
// old one's place only when it is complete, so that a failure leaves the old file as it
// was. Where the folder cannot take a new file, the file is written in place, as editors
// do, every step still checked.
std::variant<std::monostate, FileFailure> ReplaceFile(const QString &path, const QByteArray &bytes);

} // namespace rainquill

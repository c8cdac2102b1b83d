#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <variant>

namespace rainquill {

// What went wrong with a file: the system's error number and the step that failed.
// Two refusals of our own come without a system error: a file that is not a plain file,
// and a line longer than the reader takes (`line` is its number, from 1).
// A third refusal keeps a write from following another user's link. `left` tells what a
// failed write left behind: the old file, the old file put back after the system lost
// written data (as far as it lets us know), or a file that may be damaged.
struct FileFailure
{
    enum class Step { Inspect, Read, Write, Permissions };
    enum class Refusal { None, NotAPlainFile, LineTooLong, ForeignLink };
    enum class Left { OldFile, PutBackBestEffort, MayBeDamaged };

    Step step;
    int systemError = 0;
    Refusal refusal = Refusal::None;
    int line = 0;
    Left left = Left::OldFile;
};

// The first `maxLines` lines of a plain file, without their ends (CR LF, CR or LF; the
// last line may lack one); nothing after the last of them is read, whatever the file's
// size. A path that is not a plain file (a folder, a device, a named pipe) is refused
// before anything is read from it, and so is a file with a line of more than
// `maxLineBytes` bytes among the lines read.
std::variant<QList<QByteArray>, FileFailure> ReadPlainFileLines(const QString &path, int maxLines,
                                                                qsizetype maxLineBytes);

// Gives the owner of an existing plain file the right to read and write it; through a
// link only where ReplaceFile would write through it.
std::variant<std::monostate, FileFailure> MakeOwnerWritable(const QString &path);

// Replaces the file's contents by `bytes`: through a new file beside it that takes the
// old one's place only when it is complete, so that a failure leaves the old file as it
// was. A path that is a live symbolic link (or a chain of them) is written through, when
// every link belongs to the user or to the owner of its folder (otherwise the write is
// refused): the file it finally names is replaced, and the link stays. A dangling link is
// replaced by a plain file. Where the folder cannot take a new file, the file is written
// in place, as editors do: its space is reserved first, and if a write, the cut to length,
// the sync or the close fails, the old bytes and length are put back and checked before
// the failure is returned, so that it is the old file or the failure says otherwise.
std::variant<std::monostate, FileFailure> ReplaceFile(const QString &path, const QByteArray &bytes);

} // namespace rainquill

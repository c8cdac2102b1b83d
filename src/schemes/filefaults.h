#pragma once

namespace rainquill {

// The system calls that read color.dat or write a file, each of which tests can make fail.
// ReadInPlace reads the file being written in place, to keep its old bytes.
enum class FileCall { Read, ReadInPlace, NewFile, Write, Truncate, Sync, Close, Rename };

// Failures put in on purpose, so that every step of a write can be seen failing. The
// program never arms one; nothing fails unless a test asks.
namespace FileFaults {

// The next `count` calls of `call` fail with `error`, besides whatever else was armed. A
// failing write writes the first half of what it was given before it fails, as a write
// cut short by a full disk does; a failing close closes the descriptor all the same.
void failNext(FileCall call, int error, int count = 1);
void clear();

// Whether this call of `call` is to fail; errno is set when it is.
bool fails(FileCall call);

} // namespace FileFaults

} // namespace rainquill

#pragma once

#include <QtGlobal>

namespace rainquill {

// Whether the system can still give the program this many bytes: under its address-space
// limit, under its control group's memory limit, and within the memory the kernel counts as
// available. Each bound that cannot be read is taken as no bound.
bool MemoryAvailable(qint64 bytes);

} // namespace rainquill

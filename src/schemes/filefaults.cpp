#include "schemes/filefaults.h"

#include <cerrno>
#include <vector>

namespace rainquill {

namespace {

struct Armed
{
    FileCall call;
    int error;
    int count;
};

std::vector<Armed> armed;

} // namespace

void FileFaults::failNext(FileCall call, int error, int count)
{
    armed.push_back({call, error, count});
}

void FileFaults::clear()
{
    armed.clear();
}

bool FileFaults::fails(FileCall call)
{
    for (Armed &fault : armed) {
        if (fault.count <= 0 || fault.call != call)
            continue;
        --fault.count;
        errno = fault.error;
        return true;
    }
    return false;
}

} // namespace rainquill

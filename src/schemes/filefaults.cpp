#include "schemes/filefaults.h"

#include <cerrno>
#include <vector>

namespace rainquill {

namespace {

struct Armed
{
    FileCall call = FileCall::NewFile;
    int error = 0;
    int count = 0;
    int skip = 0;
};

std::vector<Armed> armed;

} // namespace

void FileFaults::failNext(FileCall call, int error, int count, int skip)
{
    armed.push_back({call, error, count, skip});
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
        if (fault.skip > 0) {
            --fault.skip;
            return false;
        }
        --fault.count;
        errno = fault.error;
        return true;
    }
    return false;
}

} // namespace rainquill

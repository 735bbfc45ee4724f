/* Any process list is walked without reading past its end: the sanitizers
 * see every byte read from a buffer of exactly the list's size. */
#include "bench/resident/residentcalc.h"
#include <stdlib.h>
#include <string.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pb, size_t cb)
{
    if (cb < 4)
        return 0;
    uint32_t dwPid;
    memcpy(&dwPid, pb, 4);
    std::vector<unsigned char> list(pb + 4, pb + cb);
    uint32_t dwHandles = 0xDEADBEEF;
    if (!FindProcessHandleCount(list.data(), list.size(), dwPid, &dwHandles) && dwHandles != 0xDEADBEEF)
        abort();
    return 0;
}

/* The sound path from a program path and a registry-supplied name: never
 * past the buffer, always terminated, empty or exactly directory + name. */
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include "motionlock/alarmcalc.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t cb)
{
    if (cb < 2)
        return 0;
    size_t cchOut = pData[0] % 64 + (pData[1] & 1 ? 200 : 1);
    std::string text((const char *)pData + 2, cb - 2);
    size_t cut = text.find('\0');
    std::string module = cut == std::string::npos ? text : text.substr(0, cut);
    std::string name = cut == std::string::npos ? "" : text.substr(cut + 1);
    name = name.substr(0, name.find('\0'));

    char *psz = (char *)malloc(cchOut);
    int n = BuildBeepSoundPath(psz, cchOut, module.c_str(), name.c_str());
    size_t len = strnlen(psz, cchOut);
    if (len >= cchOut)
        abort();
    if (n) {
        std::string out(psz);
        if (out.size() < name.size() || out.compare(out.size() - name.size(), name.size(), name) != 0)
            abort();
    } else if (len != 0) {
        abort();
    }
    free(psz);
    return 0;
}

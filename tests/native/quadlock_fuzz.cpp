/* The path beside the host and the menu record from arbitrary text: never
 * past the buffer or the record, always terminated, and a path is either
 * empty or exactly the host's folder + "Lockwatch.exe". */
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include "motionlock/quadmenu.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t cb)
{
    if (cb < 1)
        return 0;
    size_t cchOut = pData[0] % 40 + (pData[0] & 0x80 ? 240 : 0);
    std::u16string host;
    for (size_t i = 1; i + 1 < cb; i += 2)
        host += (char16_t)(pData[i] | (pData[i + 1] << 8));
    host = host.substr(0, host.find(u'\0'));

    char16_t *pOut = (char16_t *)malloc((cchOut ? cchOut : 1) * sizeof(char16_t));
    int n = BuildLockwatchPath(pOut, cchOut, host.c_str());
    if (cchOut != 0) {
        size_t len = 0;
        while (len < cchOut && pOut[len] != 0)
            len++;
        if (len >= cchOut)
            abort();
        std::u16string out(pOut, len);
        static const std::u16string name = u"Lockwatch.exe";
        if (n) {
            if (out.size() <= name.size() || out.compare(out.size() - name.size(), name.size(), name) != 0)
                abort();
            std::u16string dir = out.substr(0, out.size() - name.size());
            if (host.compare(0, dir.size(), dir) != 0)
                abort();
            if (host.find_first_of(u"\\/", dir.size()) != std::u16string::npos)
                abort();
        } else if (len != 0) {
            abort();
        }
    } else if (n) {
        abort();
    }
    free(pOut);

    unsigned char *pRec = (unsigned char *)malloc(QUADMENU_CB_RECORD);
    FillMenuRecord(pRec, 1, host.c_str());
    if (pRec[258] | pRec[259] || pRec[264] != 0xFF)
        abort();
    free(pRec);
    return 0;
}

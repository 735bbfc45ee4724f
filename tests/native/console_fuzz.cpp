/* Command-line tails and subkey names of any content, under two code pages. */
#include "console/desklogic.h"

#include <string.h>
#include <string>

static int NoLeadBytes(unsigned char ch)
{
    return 0;
}

static int ShiftJisLeadBytes(unsigned char ch)
{
    return (ch >= 0x81 && ch <= 0x9F) || (ch >= 0xE0 && ch <= 0xFC);
}

static void Check(const char *psz, PFN_ISLEADBYTE pfnIsLead)
{
    char szKey[TILTDESK_KEYNAME_SIZE];
    unsigned uPage = 99;
    memset(szKey, 'x', sizeof(szKey));
    if (ParsePageArgument(psz, szKey, sizeof(szKey), &uPage, pfnIsLead)) {
        size_t cch = strlen(psz);
        if ((cch != 4 && cch != 6) || strlen(szKey) != 4 || uPage > 9 ||
            !IsTiltkitKeyName(szKey, pfnIsLead) || memcmp(szKey, psz, 4) != 0 ||
            TiltkitKeyNumber(szKey) > 9999)
            __builtin_trap();
    } else if (uPage != 99 || szKey[0] != 'x') {
        __builtin_trap();   /* outputs touched on failure */
    }
    if (IsTiltkitKeyName(psz, pfnIsLead) && strlen(psz) != 4)
        __builtin_trap();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pbData, size_t cbData)
{
    std::string text((const char *)pbData, cbData);
    Check(text.c_str(), NoLeadBytes);
    Check(text.c_str(), ShiftJisLeadBytes);

    /* Entries with numbers from the input keep ascending order and stay stable. */
    TILTKITENTRY aEntries[16];
    size_t cEntries = cbData / 2 < 16 ? cbData / 2 : 16;
    for (size_t i = 0; i < cEntries; i++) {
        memset(&aEntries[i], 0, sizeof(aEntries[i]));
        aEntries[i].uKeyNumber = (uint32_t)(pbData[2 * i] % 8);
        aEntries[i].nPageCount = (int32_t)i;
    }
    SortTiltkitEntries(aEntries, cEntries);
    for (size_t i = 1; i < cEntries; i++) {
        if (aEntries[i].uKeyNumber < aEntries[i - 1].uKeyNumber ||
            (aEntries[i].uKeyNumber == aEntries[i - 1].uKeyNumber &&
             aEntries[i].nPageCount < aEntries[i - 1].nPageCount))
            __builtin_trap();
    }
    return 0;
}

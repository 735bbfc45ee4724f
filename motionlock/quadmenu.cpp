/* The menu item record and the path of Lockwatch.exe next to the host. */
#include <string.h>
#include "motionlock/quadmenu.h"

static void PutDword(unsigned char *pb, uint32_t dw)
{
    pb[0] = (unsigned char)dw;
    pb[1] = (unsigned char)(dw >> 8);
    pb[2] = (unsigned char)(dw >> 16);
    pb[3] = (unsigned char)(dw >> 24);
}

void FillMenuRecord(unsigned char *pbRecord, uint32_t dwIcon, const QCHAR *pszText)
{
    size_t i;

    PutDword(pbRecord + QUADMENU_OFS_ICON, dwIcon);
    /* The field holds 128 characters: a longer text is cut, so that it can
     * never run into the host's words or past the record. */
    memset(pbRecord + QUADMENU_OFS_TEXT, 0, QUADMENU_CCH_TEXT * 2);
    for (i = 0; pszText != NULL && i < QUADMENU_CCH_TEXT - 1 && pszText[i] != 0; i++) {
        pbRecord[QUADMENU_OFS_TEXT + 2 * i] = (unsigned char)pszText[i];
        pbRecord[QUADMENU_OFS_TEXT + 2 * i + 1] = (unsigned char)((uint16_t)pszText[i] >> 8);
    }
    PutDword(pbRecord + QUADMENU_OFS_RESERVED1, 0);
    PutDword(pbRecord + QUADMENU_OFS_RESERVED2, 0xFFFFFFFFu);
}

int BuildLockwatchPath(QCHAR *pszOut, size_t cchOut, const QCHAR *pszHostPath)
{
    static const char szName[] = QUADMENU_LOCKWATCH_EXE;
    const size_t cchName = sizeof(szName) - 1;
    size_t cchDir = 0;
    size_t i;

    if (cchOut == 0)
        return 0;
    pszOut[0] = 0;
    if (pszHostPath == NULL)
        return 0;

    for (i = 0; pszHostPath[i] != 0; i++) {
        if (pszHostPath[i] == '\\' || pszHostPath[i] == '/')
            cchDir = i + 1;
    }
    if (cchDir == 0 && pszHostPath[0] != 0 && pszHostPath[1] == ':')
        cchDir = 2;
    /* A bare file name would leave the shell to search the current folder
     * and the path: that is not the host's folder. */
    if (cchDir == 0)
        return 0;
    if (cchDir + cchName + 1 > cchOut)
        return 0;

    for (i = 0; i < cchDir; i++)
        pszOut[i] = pszHostPath[i];
    for (i = 0; i < cchName; i++)
        pszOut[cchDir + i] = (QCHAR)szName[i];
    pszOut[cchDir + cchName] = 0;
    return 1;
}

#include "jolt/joltcfgpure.h"

#include <string.h>

int JoltSplitList(const char *pszList, size_t cbMax, PFNNAMECHECKLEAD pfnIsLead,
                  JOLTCFGPIECE *aPieces, int nMax)
{
    size_t ib = 0;
    size_t ibStart = 0;
    int nPieces = 0;

    if (pszList == NULL)
        return 0;
    while (ib < cbMax && pszList[ib] != '\0') {
        if (pfnIsLead != NULL && pfnIsLead((unsigned char)pszList[ib])) {
            /* Lead and trail byte are one character; a lead byte at the very
             * end (no trail byte left in range) ends the scan. */
            if (ib + 1 >= cbMax || pszList[ib + 1] == '\0')
                break;
            ib += 2;
            continue;
        }
        if (pszList[ib] == ',') {
            if (nPieces < nMax && aPieces != NULL) {
                aPieces[nPieces].ibStart = ibStart;
                aPieces[nPieces].cb = ib - ibStart;
            }
            nPieces++;
            ibStart = ib + 1;
        }
        ib++;
    }
    return nPieces;
}

void JoltControlState(long nAction, int bTicked, JOLTCFGSTATE *pState)
{
    if (nAction == 0) {
        pState->bProgram = 0;
        pState->bCheck = 0;
        pState->bSound = 0;
        return;
    }
    pState->bProgram = nAction == 3;
    pState->bCheck = 1;
    pState->bSound = bTicked ? 1 : 0;
}

int JoltCheckDirection(long nAction, int bTicked, size_t cchProgram, size_t cchSound)
{
    if (nAction == 0)
        return JOLTCFG_VALID;
    if (nAction == 3 && cchProgram == 0)
        return JOLTCFG_NO_PROGRAM;
    if (bTicked && cchSound == 0)
        return JOLTCFG_NO_SOUND;
    return JOLTCFG_VALID;
}

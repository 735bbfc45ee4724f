/*
 * nsisgen: prints the installer's include with the machine-wide defaults,
 * made from setup/defaults.h when the installer is built.
 *
 *     nsisgen OUTPUT.nsh
 *
 * The include defines TK_INSTDIR_ROOM (the longest installation folder that
 * keeps every path within 259 characters) and the macro TkWriteDefaults. A
 * page plug-in's entry is written only when its library was installed.
 * Exit code 0 when every value of the table was turned into a line.
 */
#include "setup/nsisgen.h"

#include <stdio.h>
#include <string.h>

static int WriteInclude(FILE *pf)
{
    char szLine[NSISGEN_LINE_MAX];
    char szLibrary[NSISGEN_LINE_MAX];
    const char *pszOpenKey = NULL;
    size_t i;

    fputs("\xEF\xBB\xBF; Generated from setup/defaults.h by nsisgen when the installer is built.\n", pf);
    fprintf(pf, "!define TK_INSTDIR_ROOM %u\n\n",
            (unsigned)NsisInstallDirRoom(g_aTiltkitDefaults, TKDEF_COUNT));
    fputs("!macro TkWriteDefaults\n", pf);
    for (i = 0; i < TKDEF_COUNT; i++) {
        const TKDEFAULTVALUE *pValue = &g_aTiltkitDefaults[i];
        int iLibrary;

        if (pszOpenKey && strcmp(pszOpenKey, pValue->pszKey) != 0) {
            fputs("  ${EndIf}\n", pf);
            pszOpenKey = NULL;
        }
        iLibrary = NsisPluginLibraryIndex(g_aTiltkitDefaults, TKDEF_COUNT, pValue->pszKey);
        if (!pszOpenKey && iLibrary >= 0) {
            if (!NsisQuoteDefault(g_aTiltkitDefaults[iLibrary].pszData, szLibrary, sizeof(szLibrary)))
                return 0;
            fprintf(pf, "  ${If} ${FileExists} \"%s\"\n", szLibrary);
            pszOpenKey = pValue->pszKey;
        }
        if (!NsisDefaultLine(pValue, szLine, sizeof(szLine))) {
            fprintf(stderr, "nsisgen: the value %s\\%s cannot be written\n", pValue->pszKey,
                    pValue->pszName);
            return 0;
        }
        fprintf(pf, "%s%s\n", pszOpenKey ? "    " : "  ", szLine);
    }
    if (pszOpenKey)
        fputs("  ${EndIf}\n", pf);
    fputs("!macroend\n", pf);
    return 1;
}

int main(int argc, char **argv)
{
    FILE *pf;
    int bOk;

    if (argc != 2) {
        fprintf(stderr, "usage: nsisgen OUTPUT.nsh\n");
        return 2;
    }
    pf = fopen(argv[1], "wb");
    if (!pf) {
        perror(argv[1]);
        return 1;
    }
    bOk = WriteInclude(pf);
    if (fclose(pf) != 0)
        bOk = 0;
    if (!bOk)
        remove(argv[1]);
    return bOk ? 0 : 1;
}

/*
 * The machine-wide values that the installation writes below
 * HKEY_LOCAL_MACHINE "SOFTWARE\Zelvar\Tiltkit", kept in this one table.
 * Texts are UTF-8; "%INSTALLDIR%" stands for the folder that holds the
 * suite's files and "%WINDIR%" for the Windows folder, both put in when the
 * values are written. Numbers are decimal or 0x hexadecimal; binary values
 * are hexadecimal bytes, blanks allowed between them.
 *
 * The table and its small decoders need no Win32 (the writer that puts the
 * table into the registry is setup/defaults_reg.h).
 */
#ifndef SETUP_DEFAULTS_H
#define SETUP_DEFAULTS_H

#include <stddef.h>
#include <stdint.h>
#include <string.h>

/* Value types, with the registry's numbers. */
#define TKDEF_SZ     1
#define TKDEF_BINARY 3
#define TKDEF_DWORD  4

#define TKDEF_INSTALLDIR "%INSTALLDIR%"
#define TKDEF_WINDIR     "%WINDIR%"

typedef struct TKDEFAULTVALUE {
    const char *pszKey;   /* below "SOFTWARE\Zelvar\Tiltkit" */
    const char *pszName;
    int nType;
    const char *pszData;
} TKDEFAULTVALUE;

static const TKDEFAULTVALUE g_aTiltkitDefaults[] = {
    /* The accelerometer access library. */
    { "Gravmon", "PATH", TKDEF_SZ, "%INSTALLDIR%\\Gravmon.dll" },

    /* Tiltfeed: the runtime that the application shortcuts start. */
    { "Tiltfeed", "FeedrunPath", TKDEF_SZ, "%INSTALLDIR%\\Feedrun.exe" },
    { "Tiltfeed", "HelpFilePath", TKDEF_SZ, "%INSTALLDIR%\\Help\\Tiltfeed.chm" },

    /* Jolt: forward/backward opens the Start menu, left/right switches to
     * the next application, both silent; one second of rest after an action
     * swallows the return movement of the tilt. */
    { "Jolt", "Version", TKDEF_DWORD, "0x00010000" },
    { "Jolt", "JoltSetting", TKDEF_BINARY, "01000000 02000000 00000000 00000000" },
    { "Jolt", "VerticalLaunchPath", TKDEF_SZ, "%WINDIR%\\system32\\notepad.exe" },
    { "Jolt", "HorizontalLaunchPath", TKDEF_SZ, "%WINDIR%\\system32\\calc.exe" },
    { "Jolt", "VerticalSoundPath", TKDEF_SZ, "%WINDIR%\\Media\\ding.wav" },
    { "Jolt", "HorizontalSoundPath", TKDEF_SZ, "%WINDIR%\\Media\\chord.wav" },
    { "Jolt", "IdleTime", TKDEF_DWORD, "1000" },
    { "Jolt", "HelpFilePath", TKDEF_SZ, "%INSTALLDIR%\\Help\\Jolt.chm" },

    /* The pages of the setting console, in sheet order; gaps of ten leave
     * room for pages added later. */
    { "Property\\0010", "Name", TKDEF_SZ, "Программа Tiltfeed" },
    { "Property\\0010", "DLLFileName", TKDEF_SZ, "%INSTALLDIR%\\Feedcfg.dll" },
    { "Property\\0020", "Name", TKDEF_SZ, "Наклон" },
    { "Property\\0020", "DLLFileName", TKDEF_SZ, "%INSTALLDIR%\\Joltcfg.dll" },
    { "Property\\0030", "Name", TKDEF_SZ, "Диспетчер акселерометра Zelvar" },
    { "Property\\0030", "DLLFileName", TKDEF_SZ, "%INSTALLDIR%\\Gravcal.dll" },
    /* Opt-in guards and comforts of the three programs. */
    { "Property\\0040", "Name", TKDEF_SZ, "Дополнительно" },
    { "Property\\0040", "DLLFileName", TKDEF_SZ, "%INSTALLDIR%\\Tiltextra.dll" },
};

#define TKDEF_COUNT (sizeof(g_aTiltkitDefaults) / sizeof(g_aTiltkitDefaults[0]))

/*
 * Puts the folders into a text of the table. A folder's trailing backslash
 * is dropped where the text goes on with one. Returns 0 when the result does
 * not fit into cchOut bytes with its terminator (pszOut is then empty).
 */
static inline int TkExpandDefault(const char *pszTemplate, const char *pszInstallDir,
                                  const char *pszWinDir, char *pszOut, size_t cchOut)
{
    size_t nOut = 0;
    const char *p = pszTemplate;

    if (!cchOut)
        return 0;
    pszOut[0] = '\0';
    while (*p) {
        const char *pszInsert = NULL;
        size_t cchToken = 0;
        size_t cchInsert;

        if (strncmp(p, TKDEF_INSTALLDIR, sizeof(TKDEF_INSTALLDIR) - 1) == 0) {
            pszInsert = pszInstallDir;
            cchToken = sizeof(TKDEF_INSTALLDIR) - 1;
        } else if (strncmp(p, TKDEF_WINDIR, sizeof(TKDEF_WINDIR) - 1) == 0) {
            pszInsert = pszWinDir;
            cchToken = sizeof(TKDEF_WINDIR) - 1;
        }
        if (!pszInsert) {
            if (nOut + 1 >= cchOut) {
                pszOut[0] = '\0';
                return 0;
            }
            pszOut[nOut++] = *p++;
            continue;
        }
        cchInsert = strlen(pszInsert);
        if (cchInsert && pszInsert[cchInsert - 1] == '\\' && p[cchToken] == '\\')
            cchInsert--;
        if (nOut + cchInsert >= cchOut) {
            pszOut[0] = '\0';
            return 0;
        }
        memcpy(pszOut + nOut, pszInsert, cchInsert);
        nOut += cchInsert;
        p += cchToken;
    }
    pszOut[nOut] = '\0';
    return 1;
}

static inline int TkHexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

/* Decimal or 0x hexadecimal, 32 bits. Returns 0 for anything else. */
static inline int TkParseDword(const char *psz, uint32_t *pdwValue)
{
    uint64_t qw = 0;
    int nBase = 10;
    int nDigits = 0;

    if (psz[0] == '0' && (psz[1] == 'x' || psz[1] == 'X')) {
        nBase = 16;
        psz += 2;
    }
    for (; *psz; psz++) {
        int d = TkHexDigit(*psz);
        if (d < 0 || d >= nBase)
            return 0;
        qw = qw * (uint64_t)nBase + (uint64_t)d;
        if (qw > 0xFFFFFFFFu)
            return 0;
        nDigits++;
    }
    if (!nDigits)
        return 0;
    *pdwValue = (uint32_t)qw;
    return 1;
}

/* Hexadecimal bytes with optional blanks. Returns 0 on a stray digit or overflow. */
static inline int TkParseHex(const char *psz, uint8_t *pbOut, size_t cbOut, size_t *pcbOut)
{
    size_t cb = 0;

    for (;;) {
        int hi, lo;
        while (*psz == ' ')
            psz++;
        if (!*psz)
            break;
        hi = TkHexDigit(psz[0]);
        lo = hi < 0 ? -1 : TkHexDigit(psz[1]);
        if (lo < 0 || cb >= cbOut)
            return 0;
        pbOut[cb++] = (uint8_t)((hi << 4) | lo);
        psz += 2;
    }
    *pcbOut = cb;
    return 1;
}

#endif

#include "gravmgr_model.h"

#include <math.h>
#include <string.h>

/* A bounded view of the text still to parse. */
typedef struct Cursor {
    const char *p;
    const char *pEnd;
} Cursor;

static int IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

static void SkipBlanks(Cursor *pc)
{
    while (pc->p < pc->pEnd && IsBlank(*pc->p))
        pc->p++;
}

static int AtEnd(Cursor *pc)
{
    SkipBlanks(pc);
    return pc->p >= pc->pEnd;
}

/* Next word into pszWord (bounded); 0 when there is none or it is too long. */
static int NextWord(Cursor *pc, char *pszWord, size_t cchWord)
{
    size_t n = 0;

    SkipBlanks(pc);
    if (pc->p >= pc->pEnd)
        return 0;
    while (pc->p < pc->pEnd && !IsBlank(*pc->p)) {
        if (n + 1 >= cchWord)
            return 0;
        pszWord[n++] = *pc->p++;
    }
    pszWord[n] = '\0';
    return 1;
}

/* Decimal or 0x hexadecimal integer with an optional sign, within 32 bits. */
int GmParseInt(const char *psz, int64_t llMin, int64_t llMax, int32_t *plOut)
{
    int bNegative = 0;
    int nBase = 10;
    int64_t llValue = 0;
    int nDigits = 0;

    if (*psz == '-' || *psz == '+')
        bNegative = *psz++ == '-';
    if (psz[0] == '0' && (psz[1] == 'x' || psz[1] == 'X')) {
        nBase = 16;
        psz += 2;
    }
    for (; *psz; psz++) {
        int nDigit;
        if (*psz >= '0' && *psz <= '9')
            nDigit = *psz - '0';
        else if (nBase == 16 && *psz >= 'a' && *psz <= 'f')
            nDigit = *psz - 'a' + 10;
        else if (nBase == 16 && *psz >= 'A' && *psz <= 'F')
            nDigit = *psz - 'A' + 10;
        else
            return 0;
        llValue = llValue * nBase + nDigit;
        if (llValue > 0xFFFFFFFFLL)
            return 0;
        nDigits++;
    }
    if (nDigits == 0)
        return 0;
    if (bNegative)
        llValue = -llValue;
    if (llValue < llMin || llValue > llMax)
        return 0;
    *plOut = (int32_t)(uint32_t)llValue;
    return 1;
}

/* Plain decimal number: sign, digits, optional fraction; no exponent. */
static int ParseFloat(const char *psz, float *pfOut)
{
    int bNegative = 0;
    double dValue = 0.0;
    double dScale = 1.0;
    int nDigits = 0;

    if (*psz == '-' || *psz == '+')
        bNegative = *psz++ == '-';
    for (; *psz >= '0' && *psz <= '9'; psz++) {
        if (dValue < 1e6)
            dValue = dValue * 10.0 + (*psz - '0');
        nDigits++;
    }
    if (*psz == '.') {
        for (psz++; *psz >= '0' && *psz <= '9'; psz++) {
            dScale /= 10.0;
            dValue += (*psz - '0') * dScale;
            nDigits++;
        }
    }
    if (*psz != '\0' || nDigits == 0 || dValue >= 1e6)
        return 0;
    *pfOut = (float)(bNegative ? -dValue : dValue);
    return 1;
}

static int NextInt(Cursor *pc, int64_t llMin, int64_t llMax, int32_t *plOut)
{
    char szWord[32];
    return NextWord(pc, szWord, sizeof(szWord)) && GmParseInt(szWord, llMin, llMax, plOut);
}

static int NextFloat(Cursor *pc, float *pfOut)
{
    char szWord[32];
    return NextWord(pc, szWord, sizeof(szWord)) && ParseFloat(szWord, pfOut);
}

typedef struct NamedValue {
    const char *pszName;
    int nValue;
} NamedValue;

static const NamedValue s_aFields[] = {
    { "active", GM_FIELD_ACTIVE },       { "monopoly", GM_FIELD_MONOPOLY },
    { "override", GM_FIELD_OVERRIDE },   { "zb0", GM_FIELD_ZB0 },
    { "zb1", GM_FIELD_ZB1 },             { "zb2", GM_FIELD_ZB2 },
    { "zb3", GM_FIELD_ZB3 },             { "nzb0", GM_FIELD_NZB0 },
    { "nzb1", GM_FIELD_NZB1 },           { "nzb2", GM_FIELD_NZB2 },
    { "nzb3", GM_FIELD_NZB3 },           { "rawx", GM_FIELD_RAWX },
    { "rawy", GM_FIELD_RAWY },           { "valid", GM_FIELD_VALID },
    { "updates", GM_FIELD_UPDATES },     { "rawrequests", GM_FIELD_RAWREQUESTS },
    { "overrides", GM_FIELD_OVERRIDES }, { "adopted", GM_FIELD_ADOPTED },
    { "gestures", GM_FIELD_GESTURES },
};

static const NamedValue s_aCommands[] = {
    { "tilt", GM_CMD_TILT },         { "accel", GM_CMD_ACCEL },
    { "move", GM_CMD_MOVE },         { "noise", GM_CMD_NOISE },
    { "still", GM_CMD_STILL },       { "gesture", GM_CMD_GESTURE },
    { "hold", GM_CMD_HOLD },         { "serve", GM_CMD_SERVE },
    { "drop", GM_CMD_DROP },         { "zerobase", GM_CMD_ZEROBASE },
    { "invalid", GM_CMD_INVALID },   { "valid", GM_CMD_VALID },
    { "raw", GM_CMD_RAW },           { "churn", GM_CMD_CHURN },
    { "get", GM_CMD_GET },           { "loop", GM_CMD_LOOP },
    { "quit", GM_CMD_QUIT },
};

static int Lookup(const NamedValue *pTable, size_t nCount, const char *pszName)
{
    size_t i;
    for (i = 0; i < nCount; i++) {
        if (strcmp(pTable[i].pszName, pszName) == 0)
            return pTable[i].nValue;
    }
    return 0;
}

/* The arguments of one command kind; 1 when they are complete and sound. */
static int ParseArguments(Cursor *pc, GmCommand *pCmd)
{
    char szWord[32];
    int i;

    switch (pCmd->nKind) {
    case GM_CMD_TILT:
        if (!NextFloat(pc, &pCmd->fArg[0]) || !NextFloat(pc, &pCmd->fArg[1]))
            return 0;
        if (AtEnd(pc))
            return 1;
        return NextInt(pc, 0, GM_GLIDE_MAX_MS, &pCmd->lArg[0]);
    case GM_CMD_ACCEL:
        return NextFloat(pc, &pCmd->fArg[0]) && NextFloat(pc, &pCmd->fArg[1]);
    case GM_CMD_NOISE:
        return NextInt(pc, 0, GM_NOISE_MAX, &pCmd->lArg[0]);
    case GM_CMD_GESTURE:
        return NextInt(pc, -0x80000000LL, 0xFFFFFFFFLL, &pCmd->lArg[0]);
    case GM_CMD_HOLD:
        return NextInt(pc, 0, GM_HOLD_MAX_MS, &pCmd->lArg[0]);
    case GM_CMD_SERVE:
    case GM_CMD_CHURN:
        return NextInt(pc, 0, 1, &pCmd->lArg[0]);
    case GM_CMD_ZEROBASE:
        for (i = 0; i < 4; i++) {
            if (!NextInt(pc, 0, 0xFFFF, &pCmd->lArg[i]))
                return 0;
        }
        return 1;
    case GM_CMD_RAW:
        return NextInt(pc, 0, 0xFFFF, &pCmd->lArg[0]) && NextInt(pc, 0, 0xFFFF, &pCmd->lArg[1]);
    case GM_CMD_GET:
        if (!NextWord(pc, szWord, sizeof(szWord)))
            return 0;
        pCmd->nField = Lookup(s_aFields, sizeof(s_aFields) / sizeof(s_aFields[0]), szWord);
        return pCmd->nField != 0;
    default:
        return 1;
    }
}

int GmParseCommand(const char *pszText, size_t cchText, GmCommand *pCmd)
{
    Cursor c;
    GmCommand cmd;
    char szWord[32];
    const void *pZero;

    if (pszText == NULL || pCmd == NULL)
        return 0;
    pZero = memchr(pszText, '\0', cchText);
    c.p = pszText;
    c.pEnd = pZero ? (const char *)pZero : pszText + cchText;

    memset(&cmd, 0, sizeof(cmd));
    if (!NextWord(&c, szWord, sizeof(szWord)))
        return 0;
    cmd.nKind = Lookup(s_aCommands, sizeof(s_aCommands) / sizeof(s_aCommands[0]), szWord);
    if (cmd.nKind == 0 || !ParseArguments(&c, &cmd) || !AtEnd(&c))
        return 0;
    *pCmd = cmd;
    return 1;
}

int GmParseScenario(const char *pText, size_t cbText, GmScenarioEntry *pEntries,
                    int nMax, int *pnCount, int *pnErrorLine)
{
    const char *p = pText;
    const char *pEnd = pText + cbText;
    int nCount = 0;
    int nLine = 0;
    uint32_t dwLast = 0;

    *pnCount = 0;
    *pnErrorLine = 0;
    while (p < pEnd) {
        const char *pEol = (const char *)memchr(p, '\n', (size_t)(pEnd - p));
        const char *pLineEnd = pEol ? pEol : pEnd;
        const char *pHash = (const char *)memchr(p, '#', (size_t)(pLineEnd - p));
        Cursor c;
        int32_t lAt;

        nLine++;
        c.p = p;
        c.pEnd = pHash ? pHash : pLineEnd;
        p = pEol ? pEol + 1 : pEnd;
        if (AtEnd(&c))
            continue;
        if (!NextInt(&c, 0, 0x7FFFFFFF, &lAt) || (uint32_t)lAt < dwLast || nCount >= nMax ||
            !GmParseCommand(c.p, (size_t)(c.pEnd - c.p), &pEntries[nCount].cmd)) {
            *pnErrorLine = nLine;
            return 0;
        }
        pEntries[nCount].dwAtMs = (uint32_t)lAt;
        dwLast = (uint32_t)lAt;
        nCount++;
    }
    *pnCount = nCount;
    return 1;
}

float GmClampAngle(float fAngle)
{
    if (!(fAngle == fAngle))
        return 0.0f;
    if (fAngle > 90.0f)
        return 90.0f;
    if (fAngle < -90.0f)
        return -90.0f;
    return fAngle;
}

static uint16_t RawFor(uint16_t wLevel, double dSin, int nSpan, int nNoise)
{
    long lRaw = (long)wLevel + lround(dSin * nSpan) + nNoise;
    if (lRaw < 0)
        lRaw = 0;
    if (lRaw > 1023)
        lRaw = 1023;
    return (uint16_t)lRaw;
}

void GmComputeReadings(float fAngleX, float fAngleY, const uint16_t awZeroBase[4],
                       int nNoiseX, int nNoiseY, GmReadings *pOut)
{
    const double dDegree = 3.14159265358979323846 / 180.0;
    double dSinX = sin(GmClampAngle(fAngleX) * dDegree);
    double dSinY = sin(GmClampAngle(fAngleY) * dDegree);
    int nSpanX = (int)awZeroBase[2] - (int)awZeroBase[0];
    int nSpanY = (int)awZeroBase[3] - (int)awZeroBase[1];

    pOut->fAccelX = (float)(dSinX + (nSpanX != 0 ? (double)nNoiseX / nSpanX : 0.0));
    pOut->fAccelY = (float)(dSinY + (nSpanY != 0 ? (double)nNoiseY / nSpanY : 0.0));
    pOut->wRawX = RawFor(awZeroBase[0], dSinX, nSpanX, nNoiseX);
    pOut->wRawY = RawFor(awZeroBase[1], dSinY, nSpanY, nNoiseY);
}

int GmIsZeroBasePlausible(const uint16_t awZeroBase[4])
{
    return awZeroBase[0] >= 409 && awZeroBase[0] <= 616 &&
           awZeroBase[1] >= 409 && awZeroBase[1] <= 616 &&
           awZeroBase[2] >= 341 && awZeroBase[2] <= 684 &&
           awZeroBase[3] >= 341 && awZeroBase[3] <= 684;
}

float GmGlide(float fFrom, float fTo, uint32_t dwElapsed, uint32_t dwTotal)
{
    if (dwTotal == 0 || dwElapsed >= dwTotal)
        return fTo;
    return fFrom + (fTo - fFrom) * (float)((double)dwElapsed / dwTotal);
}

int GmNextNoise(uint32_t *pdwSeed, int nRange)
{
    if (nRange <= 0)
        return 0;
    *pdwSeed = *pdwSeed * 1664525u + 1013904223u;
    return (int)((*pdwSeed >> 16) % (uint32_t)(2 * nRange + 1)) - nRange;
}

const char *GmNextArg(const char *pszCmdLine, char *pszArg, size_t cchArg)
{
    const char *p = pszCmdLine;
    size_t n = 0;
    int bQuoted = 0;

    if (p == NULL || cchArg == 0)
        return NULL;
    while (*p == ' ' || *p == '\t')
        p++;
    if (*p == '\0')
        return NULL;
    for (; *p; p++) {
        if (*p == '"') {
            bQuoted = !bQuoted;
            continue;
        }
        if (!bQuoted && (*p == ' ' || *p == '\t'))
            break;
        if (n + 1 < cchArg)
            pszArg[n++] = *p;
    }
    pszArg[n] = '\0';
    return p;
}
